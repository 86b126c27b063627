#include "ui/timers.h"

#include <map>
#include <memory>
#include <mutex>

namespace kad::ui {

void bindTimers(Form& form, MainLoop& loop) {
  struct Running {
    std::mutex mutex;
    std::map<Control*, MainLoop::TimerId> timers;
  };
  auto running = std::make_shared<Running>();
  auto apply = [running, &loop](Control& timer) {
    std::lock_guard lock(running->mutex);
    auto found = running->timers.find(&timer);
    if (found != running->timers.end()) {
      loop.stopTimer(found->second);
      running->timers.erase(found);
    }
    if (timer.enabled()) {
      running->timers[&timer] = loop.startTimer(std::chrono::milliseconds(timer.interval()), [&timer] {
        if (timer.onTimer) timer.onTimer();
      });
    }
  };
  for (Control* control : form.controls()) {
    if (control->kind() == ControlKind::Timer && control->enabled()) apply(*control);
  }
  form.addObserver([apply](Control& control, Property property) {
    if (control.kind() == ControlKind::Timer && (property == Property::Enabled || property == Property::Interval)) {
      apply(control);
    }
  });
}

}  // namespace kad::ui
