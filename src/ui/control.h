#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kad::ui {

class Form;

using Color = std::uint32_t;  // 0xRRGGBB
namespace colors {
inline constexpr Color Black = 0x000000;
inline constexpr Color White = 0xFFFFFF;
inline constexpr Color Silver = 0xC0C0C0;
inline constexpr Color Grey = 0x808080;
inline constexpr Color Lime = 0x00FF00;
inline constexpr Color Green = 0x008000;
inline constexpr Color Aqua = 0x00FFFF;
inline constexpr Color Red = 0xFF0000;
inline constexpr Color Blue = 0x0000FF;
inline constexpr Color Yellow = 0xFFFF00;
inline constexpr Color Window = 0xFFFFFF;   // an edit's normal background
inline constexpr Color Default = 0xFF000000;  // "the toolkit's own colour"
}  // namespace colors

enum class ControlKind {
  Form, Button, CheckBox, RadioButton, Edit, MaskEdit, ComboBox, ListBox, ProgressBar,
  Label, GroupBox, Image, StringGrid, Menu, MenuItem, Timer,
};

enum class Property {
  Caption, Text, Enabled, Visible, Checked, Bounds, Background, Hint, Items, ItemIndex, TopIndex,
  Position, Max, Cells, Interval, Other, Selection, Focus,
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

enum class Key { None, Escape, Enter, F1, F2, F5, F6, F9, F12, Other };
enum Modifier : unsigned { NoModifier = 0, Shift = 1, Ctrl = 2, Alt = 4 };

struct ItemStyle {
  Color text = colors::Default;
  Color background = colors::Default;
};

// One control of a form, with the semantics of the classic window toolkit the program was
// designed for: checking a box or a radio button from code fires its click handler as a
// user click does, a radio button unchecks the others of its group, and setting the text
// of an edit fires its change handler. Any thread may read or change a control; the form
// serialises the changes and tells its observers in order. Handlers run on the thread
// that made the change, never while the form's lock is held.
class Control {
 public:
  Control(Form& form, ControlKind kind, std::string name, Control* parent);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  Control* parent() const { return parent_; }
  Form& form() const { return form_; }

  std::string caption() const;
  void setCaption(const std::string& caption);
  std::string text() const;  // edits, masked edits, combo boxes
  void setText(const std::string& text);
  bool enabled() const;
  void setEnabled(bool enabled);
  bool visible() const;
  void setVisible(bool visible);
  // Visible and every parent visible too.
  bool showing() const;
  bool checked() const;
  void setChecked(bool checked);
  Rect bounds() const;
  void setBounds(Rect bounds);
  void setLeft(int left);
  void setTop(int top);
  void setWidth(int width);
  void setHeight(int height);
  Color color() const;
  void setColor(Color color);
  std::string hint() const;
  void setHint(const std::string& hint);
  int maxLength() const;
  void setMaxLength(int maxLength);
  bool upperCase() const;
  void setUpperCase(bool upperCase);
  int tabOrder() const;
  void setTabOrder(int order);
  // The operator-owned mark of an operator field.
  bool mark() const;
  void setMark(bool mark);
  std::string imageFile() const;
  void setImageFile(const std::string& path);
  // Selects the whole text of an edit; it stays selected until the text changes.
  void selectAll();
  bool allSelected() const;
  // Gives the control the keyboard focus.
  void setFocus();
  bool focused() const;

  // List box and combo box lines.
  std::vector<std::string> items() const;
  int itemCount() const;
  std::string item(int index) const;
  void addItem(const std::string& line);
  void removeItem(int index);
  void clearItems();
  int itemIndex() const;
  void setItemIndex(int index);
  int topIndex() const;
  void setTopIndex(int index);

  // Progress bar.
  int position() const;
  void setPosition(int position);
  int max() const;
  void setMax(int max);

  // String grid.
  int rowCount() const;
  void setRowCount(int rows);
  int colCount() const;
  void setColCount(int cols);
  std::string cell(int col, int row) const;
  void setCell(int col, int row, const std::string& text);

  // Timer.
  int interval() const;
  void setInterval(int milliseconds);

  // What a person does; a front end calls these.
  void click();                              // buttons, check boxes, radio buttons, menu items
  void userSetText(const std::string& text);  // typing into an edit: upper case and length apply
  void doubleClick();
  void userExit();                            // focus leaves the control
  void keyDown(Key key, unsigned modifiers);

  // Handlers, set while the form is built.
  std::function<void()> onClick;
  std::function<void()> onChange;
  std::function<void()> onDblClick;
  std::function<void()> onExit;
  std::function<void()> onTimer;
  std::function<void(Key, unsigned)> onKeyDown;
  std::function<ItemStyle(int index)> onDrawItem;          // owner-drawn list box lines
  std::function<ItemStyle(int col, int row)> onDrawCell;  // owner-drawn grid cells

 private:
  void changed(Property property);
  void fire(const std::function<void()>& handler);

  Form& form_;
  const ControlKind kind_;
  const std::string name_;
  Control* const parent_;

  std::string caption_;
  std::string text_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  Rect bounds_;
  Color color_ = colors::Default;
  std::string hint_;
  int maxLength_ = 0;
  bool upperCase_ = false;
  int tabOrder_ = 0;
  bool mark_ = false;
  std::string imageFile_;
  bool allSelected_ = false;
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int topIndex_ = 0;
  int position_ = 0;
  int max_ = 100;
  int rowCount_ = 1;
  int colCount_ = 1;
  std::vector<std::vector<std::string>> cells_;
  int interval_ = 1000;
};

}  // namespace kad::ui
