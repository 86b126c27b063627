#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "ui/form.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kad::qt {

// Shows a form of the toolkit-free form layer as a Qt window: one widget per control,
// kept in step with the model, and what the operator does goes back into the model.
//
// The form must outlive the binder. The model may change on any thread; the binder only
// queues the change and re-reads the control on the GUI thread, so a worker never waits
// for the window. Construct and destroy the binder on the GUI thread.
class FormBinder : public QObject {
 public:
  explicit FormBinder(ui::Form& form);
  ~FormBinder() override;

  QWidget* window() const { return window_; }
  // The widget of a control, or null (menus, timers and unknown names have none).
  QWidget* widget(std::string_view controlName) const;
  QAction* action(std::string_view controlName) const;

  // Runs when the operator closes the window; afterwards the form is marked invisible.
  std::function<void()> onClose;

  // Applies every model change queued so far (normally done by the event loop).
  void applyPending();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Queue;

  void build();
  void createWidget(ui::Control& control);
  void createMenuItem(ui::Control& item);
  QWidget* containerFor(const ui::Control& control) const;
  void watch(QWidget* input, ui::Control& control);
  void apply(ui::Control& control, ui::Property property);
  void applyAll(ui::Control& control);
  void applyRoot(ui::Property property);
  void applyAction(ui::Control& item, QAction* action, ui::Property property);
  void applyItems(ui::Control& control, QWidget* widget);
  void applyCells(ui::Control& control, QWidget* widget);
  void applyImage(ui::Control& control, QWidget* widget);
  bool handleKey(ui::Control* control, QEvent* event);
  bool isFocusTarget(const QObject* object) const;

  ui::Form& form_;
  std::shared_ptr<Queue> queue_;
  QWidget* window_ = nullptr;
  QWidget* client_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  std::unordered_map<const ui::Control*, QWidget*> widgets_;
  std::unordered_map<const ui::Control*, QAction*> actions_;
  std::unordered_map<const ui::Control*, QMenu*> menus_;
  // The widgets whose keys, focus and mouse events the binder watches, with their control.
  std::unordered_map<const QObject*, ui::Control*> inputs_;
  // Set while the binder writes to widgets: what the widgets signal then is not the operator.
  bool applying_ = false;
};

}  // namespace kad::qt
