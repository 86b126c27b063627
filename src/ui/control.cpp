#include "ui/control.h"

#include <algorithm>
#include <cctype>

#include "ui/form.h"

namespace kad::ui {
namespace {

// Counts UTF-8 characters, so a field's maximum length is in characters, not bytes.
std::size_t characterCount(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string firstCharacters(const std::string& text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == count) return text.substr(0, i);
      ++seen;
    }
  }
  return text;
}

}  // namespace

Control::Control(Form& form, ControlKind kind, std::string name, Control* parent)
    : form_(form), kind_(kind), name_(std::move(name)), parent_(parent) {}

#define KAD_GETTER(type, getter, member) \
  type Control::getter() const {         \
    std::lock_guard lock(form_.mutex()); \
    return member;                       \
  }
#define KAD_SETTER(type, setter, member, property) \
  void Control::setter(type value) {               \
    {                                              \
      std::lock_guard lock(form_.mutex());         \
      if (member == value) return;                 \
      member = value;                              \
    }                                              \
    changed(property);                             \
  }

KAD_GETTER(std::string, caption, caption_)
KAD_SETTER(const std::string&, setCaption, caption_, Property::Caption)
KAD_GETTER(std::string, text, text_)
KAD_GETTER(bool, enabled, enabled_)
KAD_SETTER(bool, setEnabled, enabled_, Property::Enabled)
KAD_GETTER(bool, visible, visible_)
KAD_SETTER(bool, setVisible, visible_, Property::Visible)
KAD_GETTER(bool, checked, checked_)
KAD_GETTER(Rect, bounds, bounds_)
KAD_SETTER(Rect, setBounds, bounds_, Property::Bounds)
KAD_GETTER(Color, color, color_)
KAD_SETTER(Color, setColor, color_, Property::Background)
KAD_GETTER(std::string, hint, hint_)
KAD_SETTER(const std::string&, setHint, hint_, Property::Hint)
KAD_GETTER(int, maxLength, maxLength_)
KAD_SETTER(int, setMaxLength, maxLength_, Property::Other)
KAD_GETTER(bool, upperCase, upperCase_)
KAD_SETTER(bool, setUpperCase, upperCase_, Property::Other)
KAD_GETTER(int, tabOrder, tabOrder_)
KAD_SETTER(int, setTabOrder, tabOrder_, Property::Other)
KAD_GETTER(bool, mark, mark_)
KAD_SETTER(bool, setMark, mark_, Property::Other)
KAD_GETTER(std::string, imageFile, imageFile_)
KAD_SETTER(const std::string&, setImageFile, imageFile_, Property::Other)
KAD_GETTER(std::vector<std::string>, items, items_)
KAD_GETTER(int, itemIndex, itemIndex_)
KAD_GETTER(int, topIndex, topIndex_)
KAD_SETTER(int, setTopIndex, topIndex_, Property::TopIndex)
KAD_GETTER(int, position, position_)
KAD_GETTER(int, max, max_)
KAD_GETTER(int, rowCount, rowCount_)
KAD_GETTER(int, colCount, colCount_)
KAD_GETTER(int, interval, interval_)
KAD_SETTER(int, setInterval, interval_, Property::Interval)

#undef KAD_GETTER
#undef KAD_SETTER

bool Control::showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible()) return false;
  }
  return true;
}

void Control::setLeft(int left) {
  Rect r = bounds();
  r.left = left;
  setBounds(r);
}
void Control::setTop(int top) {
  Rect r = bounds();
  r.top = top;
  setBounds(r);
}
void Control::setWidth(int width) {
  Rect r = bounds();
  r.width = width;
  setBounds(r);
}
void Control::setHeight(int height) {
  Rect r = bounds();
  r.height = height;
  setBounds(r);
}

void Control::setText(const std::string& text) {
  {
    std::lock_guard lock(form_.mutex());
    if (text_ == text) return;
    text_ = text;
    allSelected_ = false;
  }
  changed(Property::Text);
  fire(onChange);
}

void Control::setChecked(bool checked) {
  std::vector<Control*> unchecked;
  {
    std::lock_guard lock(form_.mutex());
    if (checked_ == checked) return;
    checked_ = checked;
  }
  if (checked && kind_ == ControlKind::RadioButton) {
    for (Control* sibling : form_.children(*parent_)) {
      if (sibling != this && sibling->kind_ == ControlKind::RadioButton) {
        std::lock_guard lock(form_.mutex());
        if (sibling->checked_) {
          sibling->checked_ = false;
          unchecked.push_back(sibling);
        }
      }
    }
  }
  for (Control* sibling : unchecked) sibling->changed(Property::Checked);
  changed(Property::Checked);
  // A radio button fires its click when it becomes checked, a check box on every change.
  if (kind_ == ControlKind::CheckBox || (kind_ == ControlKind::RadioButton && checked)) fire(onClick);
}

void Control::selectAll() {
  {
    std::lock_guard lock(form_.mutex());
    allSelected_ = true;
  }
  changed(Property::Selection);
}

bool Control::allSelected() const {
  std::lock_guard lock(form_.mutex());
  return allSelected_;
}

void Control::setFocus() { form_.setFocused(this); }
bool Control::focused() const { return form_.focused() == this; }

int Control::itemCount() const {
  std::lock_guard lock(form_.mutex());
  return static_cast<int>(items_.size());
}

std::string Control::item(int index) const {
  std::lock_guard lock(form_.mutex());
  if (index < 0 || index >= static_cast<int>(items_.size())) return {};
  return items_[static_cast<std::size_t>(index)];
}

void Control::addItem(const std::string& line) {
  {
    std::lock_guard lock(form_.mutex());
    items_.push_back(line);
  }
  changed(Property::Items);
}

void Control::removeItem(int index) {
  {
    std::lock_guard lock(form_.mutex());
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_.erase(items_.begin() + index);
    if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
    topIndex_ = std::min(topIndex_, std::max(0, static_cast<int>(items_.size()) - 1));
  }
  changed(Property::Items);
}

void Control::clearItems() {
  {
    std::lock_guard lock(form_.mutex());
    items_.clear();
    itemIndex_ = -1;
    topIndex_ = 0;
  }
  changed(Property::Items);
}

void Control::setItemIndex(int index) {
  bool isCombo = false;
  {
    std::lock_guard lock(form_.mutex());
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    if (itemIndex_ == index) return;
    itemIndex_ = index;
    isCombo = kind_ == ControlKind::ComboBox;
    if (isCombo) text_ = index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string();
  }
  changed(Property::ItemIndex);
  if (isCombo) changed(Property::Text);
}

void Control::setPosition(int position) {
  {
    std::lock_guard lock(form_.mutex());
    position = std::clamp(position, 0, std::max(max_, 0));
    if (position_ == position) return;
    position_ = position;
  }
  changed(Property::Position);
}

void Control::setMax(int max) {
  {
    std::lock_guard lock(form_.mutex());
    if (max_ == max) return;
    max_ = max;
    position_ = std::clamp(position_, 0, std::max(max_, 0));
  }
  changed(Property::Max);
}

void Control::setRowCount(int rows) {
  {
    std::lock_guard lock(form_.mutex());
    rowCount_ = std::max(rows, 0);
    cells_.resize(static_cast<std::size_t>(rowCount_));
  }
  changed(Property::Cells);
}

void Control::setColCount(int cols) {
  {
    std::lock_guard lock(form_.mutex());
    colCount_ = std::max(cols, 0);
  }
  changed(Property::Cells);
}

std::string Control::cell(int col, int row) const {
  std::lock_guard lock(form_.mutex());
  if (row < 0 || col < 0 || row >= static_cast<int>(cells_.size())) return {};
  const auto& line = cells_[static_cast<std::size_t>(row)];
  return col < static_cast<int>(line.size()) ? line[static_cast<std::size_t>(col)] : std::string();
}

void Control::setCell(int col, int row, const std::string& text) {
  if (row < 0 || col < 0) return;
  {
    std::lock_guard lock(form_.mutex());
    if (row >= rowCount_ || col >= colCount_) return;
    if (cells_.size() < static_cast<std::size_t>(rowCount_)) cells_.resize(static_cast<std::size_t>(rowCount_));
    auto& line = cells_[static_cast<std::size_t>(row)];
    if (line.size() <= static_cast<std::size_t>(col)) line.resize(static_cast<std::size_t>(col) + 1);
    line[static_cast<std::size_t>(col)] = text;
  }
  changed(Property::Cells);
}

void Control::click() {
  if (!enabled()) return;
  switch (kind_) {
    case ControlKind::CheckBox: setChecked(!checked()); break;
    case ControlKind::RadioButton:
      if (checked()) fire(onClick);
      else setChecked(true);
      break;
    default: fire(onClick); break;
  }
}

void Control::userSetText(const std::string& typed) {
  if (!enabled()) return;
  std::string text = typed;
  if (upperCase()) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  const int limit = maxLength();
  if (limit > 0 && characterCount(text) > static_cast<std::size_t>(limit)) {
    text = firstCharacters(text, static_cast<std::size_t>(limit));
  }
  setText(text);
}

void Control::doubleClick() { fire(onDblClick); }
void Control::userExit() { fire(onExit); }

void Control::keyDown(Key key, unsigned modifiers) {
  if (onKeyDown) onKeyDown(key, modifiers);
}

void Control::changed(Property property) { form_.notify(*this, property); }

void Control::fire(const std::function<void()>& handler) {
  if (handler) handler();
}

}  // namespace kad::ui
