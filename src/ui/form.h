#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace kad::ui {

// A window of the program as a tree of named controls. The form itself is the root
// control (kind Form): its caption is the window title, its bounds the client area.
class Form {
 public:
  explicit Form(std::string name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Control& root() { return *controls_.front(); }
  const Control& root() const { return *controls_.front(); }
  const std::string& name() const { return root().name(); }

  // Adds a control; parent null means the form itself.
  Control& add(ControlKind kind, std::string name, Control* parent = nullptr, Rect bounds = {},
               std::string caption = {});
  Control* find(std::string_view name) const;
  // The control of that name; a missing name is a programming error and aborts.
  Control& operator[](std::string_view name) const;
  std::vector<Control*> controls() const;
  std::vector<Control*> children(const Control& parent) const;

  using Observer = std::function<void(Control&, Property)>;
  void addObserver(Observer observer);

  // Keys the form sees before the focused control; returns true when consumed.
  std::function<bool(Key, unsigned)> onShortCut;
  bool shortCut(Key key, unsigned modifiers) { return onShortCut && onShortCut(key, modifiers); }

  // The control with the keyboard focus (null before any control asked for it).
  Control* focused() const;
  void setFocused(Control* control);

  std::mutex& mutex() const { return mutex_; }
  void notify(Control& control, Property property);

 private:
  mutable std::mutex mutex_;
  std::mutex observerMutex_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Observer> observers_;
  Control* focused_ = nullptr;
};

}  // namespace kad::ui
