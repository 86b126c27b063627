#pragma once
#include <chrono>
#include <functional>

namespace kad::ui {

// The user-interface thread's event loop, as the engine sees it.
class MainLoop {
 public:
  using TimerId = int;
  virtual ~MainLoop() = default;
  // Runs the task on the user-interface thread, after what is already queued.
  virtual void post(std::function<void()> task) = 0;
  virtual bool isMainThread() const = 0;
  // A repeating timer on the user-interface thread.
  virtual TimerId startTimer(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
  virtual void stopTimer(TimerId id) = 0;
  // Ends the loop: the program closes its windows and ends.
  virtual void quit() = 0;
};

}  // namespace kad::ui
