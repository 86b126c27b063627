#include "ui/form.h"

#include <cstdio>
#include <cstdlib>

namespace kad::ui {

Form::Form(std::string name) {
  controls_.push_back(std::make_unique<Control>(*this, ControlKind::Form, std::move(name), nullptr));
}

Control& Form::add(ControlKind kind, std::string name, Control* parent, Rect bounds, std::string caption) {
  auto control = std::make_unique<Control>(*this, kind, std::move(name), parent ? parent : &root());
  control->setBounds(bounds);
  control->setCaption(caption);
  std::lock_guard lock(mutex_);
  controls_.push_back(std::move(control));
  return *controls_.back();
}

Control* Form::find(std::string_view name) const {
  std::lock_guard lock(mutex_);
  for (const auto& control : controls_) {
    if (control->name() == name) return control.get();
  }
  return nullptr;
}

Control& Form::operator[](std::string_view name) const {
  Control* control = find(name);
  if (!control) {
    std::fprintf(stderr, "form %s has no control %.*s\n", root().name().c_str(), static_cast<int>(name.size()),
                 name.data());
    std::abort();
  }
  return *control;
}

std::vector<Control*> Form::controls() const {
  std::lock_guard lock(mutex_);
  std::vector<Control*> result;
  for (const auto& control : controls_) result.push_back(control.get());
  return result;
}

std::vector<Control*> Form::children(const Control& parent) const {
  std::lock_guard lock(mutex_);
  std::vector<Control*> result;
  for (const auto& control : controls_) {
    if (control->parent() == &parent) result.push_back(control.get());
  }
  return result;
}

Control* Form::focused() const {
  std::lock_guard lock(mutex_);
  return focused_;
}

void Form::setFocused(Control* control) {
  {
    std::lock_guard lock(mutex_);
    focused_ = control;
  }
  if (control) notify(*control, Property::Focus);
}

void Form::addObserver(Observer observer) {
  std::lock_guard lock(observerMutex_);
  observers_.push_back(std::move(observer));
}

void Form::notify(Control& control, Property property) {
  std::vector<Observer> observers;
  {
    std::lock_guard lock(observerMutex_);
    observers = observers_;
  }
  for (const auto& observer : observers) observer(control, property);
}

}  // namespace kad::ui
