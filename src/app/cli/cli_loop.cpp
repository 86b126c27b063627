#include "cli_loop.h"

namespace kad::cli {

void CliLoop::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  wake_.notify_all();
}

ui::MainLoop::TimerId CliLoop::startTimer(std::chrono::milliseconds interval, std::function<void()> tick) {
  std::lock_guard lock(mutex_);
  const TimerId id = ++lastId_;
  timers_[id] = {interval, std::chrono::steady_clock::now() + interval, std::move(tick)};
  wake_.notify_all();
  return id;
}

void CliLoop::stopTimer(TimerId id) {
  std::lock_guard lock(mutex_);
  timers_.erase(id);
}

void CliLoop::quit() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
}

bool CliLoop::run(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline) {
  using namespace std::chrono;
  for (;;) {
    if (done()) return true;
    std::function<void()> work;
    {
      std::unique_lock lock(mutex_);
      if (quit_) return true;
      const auto now = steady_clock::now();
      if (now >= deadline) return false;
      if (!tasks_.empty()) {
        work = std::move(tasks_.front());
        tasks_.pop_front();
      } else {
        auto wakeAt = std::min(deadline, now + milliseconds(50));
        for (auto& [id, timer] : timers_) {
          if (timer.due <= now) {
            timer.due = now + timer.interval;
            work = timer.tick;
            break;
          }
          wakeAt = std::min(wakeAt, timer.due);
        }
        if (!work) {
          wake_.wait_until(lock, wakeAt);
          continue;
        }
      }
    }
    work();
  }
}

}  // namespace kad::cli
