#include "form_binder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <mutex>
#include <vector>

namespace kad::qt {
namespace {

using ui::Control;
using ui::ControlKind;
using ui::Property;

// The forms were laid out for an 8-point font at 96 dpi; a larger font would not fit them.
constexpr int kFormFontPixels = 11;
constexpr int kListLineHeight = 13;
constexpr int kGridRowHeight = 15;

QString toQString(const std::string& text) { return QString::fromStdString(text); }

QColor toQColor(ui::Color color) {
  return QColor(static_cast<int>((color >> 16) & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>(color & 0xFF));
}

std::uint32_t bit(Property property) { return 1u << static_cast<unsigned>(property); }

ui::Key toKey(int key) {
  switch (key) {
    case Qt::Key_Escape: return ui::Key::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ui::Key::Enter;
    case Qt::Key_F1: return ui::Key::F1;
    case Qt::Key_F2: return ui::Key::F2;
    case Qt::Key_F5: return ui::Key::F5;
    case Qt::Key_F6: return ui::Key::F6;
    case Qt::Key_F9: return ui::Key::F9;
    case Qt::Key_F12: return ui::Key::F12;
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_unknown: return ui::Key::None;
    default: return ui::Key::Other;
  }
}

unsigned toModifiers(Qt::KeyboardModifiers modifiers) {
  unsigned result = ui::NoModifier;
  if (modifiers & Qt::ShiftModifier) result |= ui::Shift;
  if (modifiers & Qt::ControlModifier) result |= ui::Ctrl;
  if (modifiers & Qt::AltModifier) result |= ui::Alt;
  return result;
}

bool isEditKind(ControlKind kind) { return kind == ControlKind::Edit || kind == ControlKind::MaskEdit; }

// Draws list lines and grid cells in the colours the program's draw handler chooses;
// a line whose colours are both the toolkit's own is drawn the usual way.
class OwnerDrawDelegate : public QStyledItemDelegate {
 public:
  using StyleOf = std::function<ui::ItemStyle(const QModelIndex&)>;
  OwnerDrawDelegate(StyleOf styleOf, int lineHeight, QObject* parent)
      : QStyledItemDelegate(parent), styleOf_(std::move(styleOf)), lineHeight_(lineHeight) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const ui::ItemStyle style = styleOf_(index);
    if (style.text == ui::colors::Default && style.background == ui::colors::Default) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    const QColor background = style.background != ui::colors::Default
                                  ? toQColor(style.background)
                                  : option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    const QColor text = style.text != ui::colors::Default
                            ? toQColor(style.text)
                            : option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter->save();
    painter->fillRect(option.rect, background);
    painter->setPen(text);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(lineHeight_);
    return size;
  }

 private:
  StyleOf styleOf_;
  int lineHeight_;
};

void setLineText(QLineEdit* edit, const QString& text) {
  if (edit->text() == text) return;
  const int cursor = edit->cursorPosition();
  edit->setText(text);
  edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
}

QStringList toQStringList(const std::vector<std::string>& lines) {
  QStringList result;
  result.reserve(static_cast<qsizetype>(lines.size()));
  for (const auto& line : lines) result.append(toQString(line));
  return result;
}

}  // namespace

// Model changes waiting for the GUI thread, in the order the controls first changed.
struct FormBinder::Queue {
  std::mutex mutex;
  FormBinder* target = nullptr;
  std::vector<Control*> order;
  std::unordered_map<Control*, std::uint32_t> dirty;
};

FormBinder::FormBinder(ui::Form& form) : form_(form), queue_(std::make_shared<Queue>()) {
  queue_->target = this;
  form_.addObserver([queue = queue_](Control& control, Property property) {
    std::lock_guard lock(queue->mutex);
    if (!queue->target) return;
    const bool wasIdle = queue->order.empty();
    auto [entry, added] = queue->dirty.try_emplace(&control, 0u);
    if (added) queue->order.push_back(&control);
    entry->second |= bit(property);
    if (wasIdle) {
      QMetaObject::invokeMethod(
          queue->target, [target = queue->target] { target->applyPending(); }, Qt::QueuedConnection);
    }
  });
  build();
}

FormBinder::~FormBinder() {
  {
    std::lock_guard lock(queue_->mutex);
    queue_->target = nullptr;
  }
  applying_ = true;  // the widgets' last focus changes are not the operator's
  delete window_;
}

QWidget* FormBinder::widget(std::string_view controlName) const {
  const Control* control = form_.find(controlName);
  if (!control) return nullptr;
  auto found = widgets_.find(control);
  return found != widgets_.end() ? found->second : nullptr;
}

QAction* FormBinder::action(std::string_view controlName) const {
  const Control* control = form_.find(controlName);
  if (!control) return nullptr;
  auto found = actions_.find(control);
  return found != actions_.end() ? found->second : nullptr;
}

void FormBinder::build() {
  window_ = new QWidget;
  QFont font = window_->font();
  font.setPixelSize(kFormFontPixels);
  window_->setFont(font);
  auto* layout = new QVBoxLayout(window_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  client_ = new QWidget(window_);
  layout->addWidget(client_);
  window_->installEventFilter(this);

  for (Control* control : form_.controls()) {
    if (control == &form_.root()) continue;
    if (control->kind() == ControlKind::MenuItem) createMenuItem(*control);
    else createWidget(*control);
  }
  applying_ = true;
  const auto controls = form_.controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) applyAll(**it);  // the form itself last
  applying_ = false;
}

QWidget* FormBinder::containerFor(const Control& control) const {
  auto found = widgets_.find(control.parent());
  if (found == widgets_.end() || control.parent()->kind() == ControlKind::Menu) return client_;
  return found->second;
}

void FormBinder::createWidget(Control& control) {
  QWidget* parent = containerFor(control);
  Control* c = &control;
  QWidget* widget = nullptr;
  bool takesInput = false;  // keys, focus and the mouse
  switch (control.kind()) {
    case ControlKind::Button: {
      auto* button = new QPushButton(parent);
      connect(button, &QPushButton::clicked, this, [this, c] {
        if (applying_) return;
        c->click();
        applyPending();
      });
      widget = button;
      takesInput = true;
      break;
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
      QAbstractButton* button = nullptr;
      if (control.kind() == ControlKind::CheckBox) {
        button = new QCheckBox(parent);
      } else {
        // The model keeps a group exclusive (and may clear it), so Qt's own rule stays off.
        auto* radio = new QRadioButton(parent);
        radio->setAutoExclusive(false);
        button = radio;
      }
      connect(button, &QAbstractButton::clicked, this, [this, c] {
        if (applying_) return;
        c->click();
        apply(*c, Property::Checked);  // a refused click leaves the model unchanged
        applyPending();
      });
      widget = button;
      takesInput = true;
      break;
    }
    case ControlKind::Edit:
    case ControlKind::MaskEdit: {
      auto* edit = new QLineEdit(parent);
      connect(edit, &QLineEdit::textEdited, this, [this, c](const QString& text) {
        if (applying_) return;
        c->userSetText(text.toStdString());
        apply(*c, Property::Text);  // upper case and length may have changed what was typed
        applyPending();
      });
      widget = edit;
      takesInput = true;
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, c](const QString& text) {
        if (applying_) return;
        c->userSetText(text.toStdString());
        apply(*c, Property::Text);
        applyPending();
      });
      // Choosing a line is a change of the box, as typing is.
      connect(combo, &QComboBox::activated, this, [this, c](int index) {
        if (applying_) return;
        c->setItemIndex(index);
        if (c->onChange) c->onChange();
        apply(*c, Property::ItemIndex);
        applyPending();
      });
      // The box has the focus and hands keys to its line edit; the mouse reaches the line edit.
      widget = combo;
      takesInput = true;
      watch(combo->lineEdit(), control);
      break;
    }
    case ControlKind::ListBox: {
      auto* list = new QListWidget(parent);
      list->setUniformItemSizes(true);
      list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
      list->setItemDelegate(new OwnerDrawDelegate(
          [c](const QModelIndex& index) { return c->onDrawItem ? c->onDrawItem(index.row()) : ui::ItemStyle{}; },
          kListLineHeight, list));
      connect(list, &QListWidget::currentRowChanged, this, [this, c](int row) {
        if (applying_) return;
        c->setItemIndex(row);
        applyPending();
      });
      // The operator scrolling moves the model's top line too.
      QScrollBar* bar = list->verticalScrollBar();
      connect(bar, &QScrollBar::actionTriggered, this, [this, c, bar] {
        if (applying_) return;
        c->setTopIndex(bar->sliderPosition());
        applyPending();
      });
      widget = list;
      takesInput = true;
      watch(list->viewport(), control);
      break;
    }
    case ControlKind::StringGrid: {
      auto* grid = new QTableWidget(parent);
      grid->horizontalHeader()->hide();
      grid->verticalHeader()->hide();
      grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
      grid->verticalHeader()->setMinimumSectionSize(1);
      grid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
      grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
      grid->setSelectionMode(QAbstractItemView::SingleSelection);
      grid->setItemDelegate(new OwnerDrawDelegate(
          [c](const QModelIndex& index) {
            return c->onDrawCell ? c->onDrawCell(index.column(), index.row()) : ui::ItemStyle{};
          },
          kGridRowHeight, grid));
      widget = grid;
      takesInput = true;
      watch(grid->viewport(), control);
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      widget = label;
      break;
    }
    case ControlKind::GroupBox: widget = new QGroupBox(parent); break;
    case ControlKind::Image: {
      auto* image = new QLabel(parent);
      image->setAlignment(Qt::AlignCenter);
      widget = image;
      break;
    }
    case ControlKind::Menu:
      // The first menu of the form is its menu bar; the layout keeps it above the client area.
      if (!menuBar_) {
        menuBar_ = new QMenuBar(window_);
        window_->layout()->setMenuBar(menuBar_);
        widget = menuBar_;
      }
      break;
    case ControlKind::Form:
    case ControlKind::MenuItem:
    case ControlKind::Timer: break;  // timers run through ui::bindTimers
  }
  if (!widget) return;
  widget->setObjectName(toQString(control.name()));
  widgets_[&control] = widget;
  if (takesInput) watch(widget, control);
}

void FormBinder::watch(QWidget* input, Control& control) {
  inputs_[input] = &control;
  input->installEventFilter(this);
}

// A menu item with items below it opens a submenu; any other item is a command. An item
// shows a check mark once the program has checked it; items never checked look like plain
// commands, as the classic menus drew them.
void FormBinder::createMenuItem(Control& item) {
  const Control* parent = item.parent();
  QAction* action = nullptr;
  bool hasItems = false;
  for (const Control* child : form_.children(item)) hasItems |= child->kind() == ControlKind::MenuItem;

  if (auto menu = menus_.find(parent); menu != menus_.end()) {
    if (hasItems) menus_[&item] = menu->second->addMenu(QString());
    else action = menu->second->addAction(QString());
  } else if (menuBar_ && parent->kind() == ControlKind::Menu && widgets_.count(parent)) {
    if (hasItems) menus_[&item] = menuBar_->addMenu(QString());
    else action = menuBar_->addAction(QString());
  } else {
    return;  // an item outside the form's menu bar has nowhere to show
  }
  if (hasItems) {
    action = menus_[&item]->menuAction();
  } else {
    Control* c = &item;
    connect(action, &QAction::triggered, this, [this, c] {
      if (applying_) return;
      c->click();
      apply(*c, Property::Checked);  // the handler, not the toolkit, decides the check mark
      applyPending();
    });
  }
  action->setObjectName(toQString(item.name()));
  actions_[&item] = action;
}

void FormBinder::applyPending() {
  std::vector<Control*> order;
  std::unordered_map<Control*, std::uint32_t> dirty;
  {
    std::lock_guard lock(queue_->mutex);
    order.swap(queue_->order);
    dirty.swap(queue_->dirty);
  }
  const bool nested = applying_;
  applying_ = true;
  for (Control* control : order) {
    const std::uint32_t properties = dirty[control];
    for (unsigned p = 0; p <= static_cast<unsigned>(Property::Other); ++p) {
      if (properties & (1u << p)) apply(*control, static_cast<Property>(p));
    }
  }
  applying_ = nested;
}

// Visibility comes last, so a window is shown at its size and with its controls.
void FormBinder::applyAll(Control& control) {
  for (unsigned p = 0; p <= static_cast<unsigned>(Property::Other); ++p) {
    if (static_cast<Property>(p) != Property::Visible) apply(control, static_cast<Property>(p));
  }
  apply(control, Property::Visible);
}

void FormBinder::applyRoot(Property property) {
  Control& root = form_.root();
  switch (property) {
    case Property::Caption: window_->setWindowTitle(toQString(root.caption())); break;
    case Property::Enabled: window_->setEnabled(root.enabled()); break;
    case Property::Visible: window_->setVisible(root.visible()); break;
    case Property::Bounds: {
      const ui::Rect r = root.bounds();
      client_->setFixedSize(std::max(r.width, 0), std::max(r.height, 0));
      break;
    }
    default: break;
  }
}

void FormBinder::apply(Control& control, Property property) {
  const bool nested = applying_;
  applying_ = true;
  if (&control == &form_.root()) {
    applyRoot(property);
  } else if (auto action = actions_.find(&control); action != actions_.end()) {
    applyAction(control, action->second, property);
  } else if (auto found = widgets_.find(&control); found != widgets_.end()) {
    QWidget* widget = found->second;
    const ControlKind kind = control.kind();
    switch (property) {
      case Property::Caption: {
        const QString caption = toQString(control.caption());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(caption);
        else if (auto* group = qobject_cast<QGroupBox*>(widget)) group->setTitle(caption);
        else if (kind == ControlKind::Label) {
          static_cast<QLabel*>(widget)->setText(caption);
          apply(control, Property::Bounds);  // a label grows with its caption
        }
        break;
      }
      case Property::Text:
        if (isEditKind(kind)) setLineText(static_cast<QLineEdit*>(widget), toQString(control.text()));
        else if (kind == ControlKind::ComboBox) applyItems(control, widget);
        break;
      case Property::Enabled: widget->setEnabled(control.enabled()); break;
      case Property::Visible: widget->setVisible(control.visible()); break;
      case Property::Checked:
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setChecked(control.checked());
        break;
      case Property::Bounds: {
        if (kind == ControlKind::Menu) break;
        const ui::Rect r = control.bounds();
        int width = std::max(r.width, 0);
        // A label sizes itself to its caption, as the classic labels did; a zero-sized
        // label stays out of sight.
        if (kind == ControlKind::Label && r.height > 0) width = std::max(width, widget->sizeHint().width());
        widget->setGeometry(r.left, r.top, width, std::max(r.height, 0));
        if (kind == ControlKind::Image) applyImage(control, widget);
        break;
      }
      case Property::Background: {
        const ui::Color color = control.color();
        QPalette palette = QApplication::palette(widget);
        const bool hasBase = isEditKind(kind) || kind == ControlKind::ComboBox || kind == ControlKind::ListBox ||
                             kind == ControlKind::StringGrid;
        if (color != ui::colors::Default) palette.setColor(hasBase ? QPalette::Base : QPalette::Window, toQColor(color));
        widget->setPalette(palette);
        if (!hasBase) widget->setAutoFillBackground(color != ui::colors::Default);
        break;
      }
      case Property::Hint: widget->setToolTip(toQString(control.hint())); break;
      case Property::Items:
      case Property::ItemIndex:
      case Property::TopIndex: applyItems(control, widget); break;
      case Property::Position:
      case Property::Max:
        if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
          bar->setRange(0, std::max(control.max(), 0));
          bar->setValue(control.position());
        }
        break;
      case Property::Cells: applyCells(control, widget); break;
      case Property::Selection:
        if (isEditKind(kind) && control.allSelected()) static_cast<QLineEdit*>(widget)->selectAll();
        break;
      case Property::Focus:
        if (control.focused()) widget->setFocus(Qt::OtherFocusReason);
        break;
      case Property::Other:
        if (isEditKind(kind)) {
          const int limit = control.maxLength();
          static_cast<QLineEdit*>(widget)->setMaxLength(limit > 0 ? limit : 32767);
        } else if (kind == ControlKind::Image) {
          applyImage(control, widget);
        }
        break;
      case Property::Interval: break;
    }
  }
  applying_ = nested;
}

void FormBinder::applyAction(Control& item, QAction* action, Property property) {
  switch (property) {
    case Property::Caption: {
      const std::string caption = item.caption();
      action->setSeparator(caption == "-");  // the classic menus' separator line
      action->setText(toQString(caption));
      break;
    }
    case Property::Enabled: action->setEnabled(item.enabled()); break;
    case Property::Visible: action->setVisible(item.visible()); break;
    case Property::Checked:
      if (item.checked()) action->setCheckable(true);
      action->setChecked(item.checked());
      break;
    case Property::Hint: action->setToolTip(toQString(item.hint())); break;
    default: break;
  }
}

// List box and combo box lines, the chosen line, the top line and a combo box's text.
void FormBinder::applyItems(Control& control, QWidget* widget) {
  const std::vector<std::string> lines = control.items();
  if (auto* list = qobject_cast<QListWidget*>(widget)) {
    const int shown = list->count();
    bool prefix = shown <= static_cast<int>(lines.size());
    for (int i = 0; prefix && i < shown; ++i) prefix = list->item(i)->text() == toQString(lines[static_cast<std::size_t>(i)]);
    if (!prefix) list->clear();
    // A log grows at its end: only the new lines are added.
    QStringList added;
    for (std::size_t i = static_cast<std::size_t>(list->count()); i < lines.size(); ++i) added.append(toQString(lines[i]));
    if (!added.isEmpty()) list->addItems(added);
    const int index = control.itemIndex();
    if (list->currentRow() != index) list->setCurrentRow(index);
    const int top = control.topIndex();
    if (top >= 0 && top < list->count()) {
      list->doItemsLayout();
      list->verticalScrollBar()->setValue(top);
    }
    list->viewport()->update();
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    const QStringList wanted = toQStringList(lines);
    QStringList current;
    for (int i = 0; i < combo->count(); ++i) current.append(combo->itemText(i));
    if (current != wanted) {
      combo->clear();
      combo->addItems(wanted);
    }
    if (combo->currentIndex() != control.itemIndex()) combo->setCurrentIndex(control.itemIndex());
    setLineText(combo->lineEdit(), toQString(control.text()));
  }
}

void FormBinder::applyCells(Control& control, QWidget* widget) {
  auto* grid = qobject_cast<QTableWidget*>(widget);
  if (!grid) return;
  const int rows = control.rowCount();
  const int cols = control.colCount();
  grid->setRowCount(rows);
  grid->setColumnCount(cols);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      const QString text = toQString(control.cell(col, row));
      QTableWidgetItem* cell = grid->item(row, col);
      if (!cell) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid->setItem(row, col, cell);
      }
      if (cell->text() != text) cell->setText(text);
    }
  }
  grid->viewport()->update();
}

void FormBinder::applyImage(Control& control, QWidget* widget) {
  auto* label = static_cast<QLabel*>(widget);
  const QString path = toQString(control.imageFile());
  QPixmap picture;
  if (!path.isEmpty() && QFileInfo(path).isFile()) picture.load(path);
  if (picture.isNull() || label->width() <= 0 || label->height() <= 0) {
    label->clear();
    return;
  }
  label->setPixmap(picture.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool FormBinder::handleKey(Control* control, QEvent* event) {
  const auto* keyEvent = static_cast<QKeyEvent*>(event);
  const ui::Key key = toKey(keyEvent->key());
  if (key == ui::Key::None) return false;
  const unsigned modifiers = toModifiers(keyEvent->modifiers());
  // The form sees a key before the control that has the focus.
  if (form_.shortCut(key, modifiers)) {
    applyPending();
    return true;
  }
  if (control && control->onKeyDown) {
    control->keyDown(key, modifiers);
    applyPending();
  }
  return false;
}

// Keys and focus belong to a control's own widget; the parts inside it (a list's viewport,
// a combo box's line edit) only bring the mouse.
bool FormBinder::isFocusTarget(const QObject* object) const {
  auto found = object ? inputs_.find(object) : inputs_.end();
  if (found == inputs_.end()) return false;
  auto own = widgets_.find(found->second);
  return own != widgets_.end() && own->second == object;
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
  if (applying_) return false;
  if (watched == window_) {
    if (event->type() == QEvent::Close) {
      if (onClose) onClose();
      form_.root().setVisible(false);
      applyPending();
    } else if (event->type() == QEvent::KeyPress) {
      // Keys reach the window itself when no control of ours has the focus, or when the
      // focused widget is not one we watch; those of a watched control were seen there.
      if (!isFocusTarget(QApplication::focusWidget())) return handleKey(nullptr, event);
    }
    return false;
  }
  auto found = inputs_.find(watched);
  if (found == inputs_.end()) return false;
  Control* control = found->second;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (isFocusTarget(watched)) return handleKey(control, event);
      break;
    case QEvent::FocusOut: {
      if (!isFocusTarget(watched)) break;
      // Focus that leaves the window or opens a popup has not left the control.
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        control->userExit();
        applyPending();
      }
      break;
    }
    case QEvent::MouseButtonRelease:
      if (isEditKind(control->kind()) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        control->click();
        applyPending();
      }
      break;
    case QEvent::MouseButtonDblClick:
      control->doubleClick();
      applyPending();
      break;
    default: break;
  }
  return false;
}

}  // namespace kad::qt
