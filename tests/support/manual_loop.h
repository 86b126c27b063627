#pragma once
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "ui/main_loop.h"

namespace kad::test {

// A clock that moves only when told to (or when the program sleeps on it).
class ManualClock final : public platform::Clock {
 public:
  std::chrono::steady_clock::time_point now() const override {
    std::lock_guard lock(mutex_);
    return now_;
  }
  // A sleep moves the clock on, then lets the world around the program (a simulated unit) act.
  void sleepFor(std::chrono::milliseconds duration) override {
    advance(duration);
    if (onSleep) onSleep();
  }
  platform::LocalDateTime localNow() const override { return local; }
  void advance(std::chrono::milliseconds duration) {
    std::lock_guard lock(mutex_);
    now_ += duration;
  }
  platform::LocalDateTime local{2024, 3, 5, 10, 20, 31};
  // Set before the program's threads start.
  std::function<void()> onSleep;

 private:
  mutable std::mutex mutex_;
  std::chrono::steady_clock::time_point now_{};
};

// The user-interface loop of a test: posted tasks run when the test calls runPending(),
// timers when it advances the loop's own time. The thread that made it is the main thread.
class ManualLoop final : public ui::MainLoop {
 public:
  void post(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  bool isMainThread() const override { return std::this_thread::get_id() == mainThread_; }
  TimerId startTimer(std::chrono::milliseconds interval, std::function<void()> tick) override {
    std::lock_guard lock(mutex_);
    const TimerId id = ++lastId_;
    timers_[id] = {interval, elapsed_ + interval, std::move(tick)};
    return id;
  }
  void stopTimer(TimerId id) override {
    std::lock_guard lock(mutex_);
    timers_.erase(id);
  }
  void quit() override {
    std::lock_guard lock(mutex_);
    quitRequested_ = true;
  }

  void runPending() {
    for (;;) {
      std::function<void()> task;
      {
        std::lock_guard lock(mutex_);
        if (tasks_.empty()) return;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
    }
  }
  // Moves the loop's time on, firing each timer as often as it falls due.
  void advance(std::chrono::milliseconds duration) {
    const auto end = elapsed_ + duration;
    for (;;) {
      std::function<void()> tick;
      {
        std::lock_guard lock(mutex_);
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
          if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
        }
        if (next == timers_.end()) break;
        elapsed_ = next->second.due;
        next->second.due += next->second.interval;
        tick = next->second.tick;
      }
      tick();
      runPending();
    }
    std::lock_guard lock(mutex_);
    elapsed_ = end;
  }
  bool quitRequested() const {
    std::lock_guard lock(mutex_);
    return quitRequested_;
  }

 private:
  struct Timer {
    std::chrono::milliseconds interval;
    std::chrono::milliseconds due;
    std::function<void()> tick;
  };
  mutable std::mutex mutex_;
  std::thread::id mainThread_ = std::this_thread::get_id();
  std::deque<std::function<void()>> tasks_;
  std::map<TimerId, Timer> timers_;
  std::chrono::milliseconds elapsed_{0};
  TimerId lastId_ = 0;
  bool quitRequested_ = false;
};

}  // namespace kad::test
