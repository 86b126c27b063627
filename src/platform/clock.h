#pragma once
#include <chrono>

namespace kad::platform {

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Every pause the program makes goes through this, so tests can run in virtual time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::steady_clock::time_point now() const = 0;
  virtual void sleepFor(std::chrono::milliseconds duration) = 0;
  virtual LocalDateTime localNow() const = 0;
};

class SystemClock final : public Clock {
 public:
  std::chrono::steady_clock::time_point now() const override;
  void sleepFor(std::chrono::milliseconds duration) override;
  LocalDateTime localNow() const override;
};

}  // namespace kad::platform
