#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "ui/main_loop.h"

namespace kad::cli {

// The console's user-interface loop: posted tasks and timers run on the thread that calls
// run(), until quit() or until the wait predicate given to run() holds.
class CliLoop final : public ui::MainLoop {
 public:
  void post(std::function<void()> task) override;
  bool isMainThread() const override { return std::this_thread::get_id() == mainThread_; }
  TimerId startTimer(std::chrono::milliseconds interval, std::function<void()> tick) override;
  void stopTimer(TimerId id) override;
  void quit() override;

  // Runs until quit(), until done() holds (checked after every task and at least every
  // 50 ms), or until the deadline; returns false when the deadline ended it.
  bool run(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline);

 private:
  struct Timer {
    std::chrono::milliseconds interval;
    std::chrono::steady_clock::time_point due;
    std::function<void()> tick;
  };
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread::id mainThread_ = std::this_thread::get_id();
  std::deque<std::function<void()>> tasks_;
  std::map<TimerId, Timer> timers_;
  TimerId lastId_ = 0;
  bool quit_ = false;
};

}  // namespace kad::cli
