#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace kad::qt::test {

// Runs the event loop until the condition holds or two seconds have passed.
inline bool waitUntil(const std::function<bool()>& condition, int milliseconds = 2000) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace kad::qt::test
