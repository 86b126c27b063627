#include "platform/clock.h"

#include <ctime>
#include <thread>

namespace kad::platform {

std::chrono::steady_clock::time_point SystemClock::now() const { return std::chrono::steady_clock::now(); }

void SystemClock::sleepFor(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

LocalDateTime SystemClock::localNow() const {
  const std::time_t seconds = std::time(nullptr);
  std::tm fields{};
  localtime_r(&seconds, &fields);
  return {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec};
}

}  // namespace kad::platform
