#include "qt_main_loop.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <thread>
#include <vector>

#include "qt_test_support.h"

namespace kad::qt {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

TEST(QtMainLoop, PostedTasksRunOnTheGuiThreadInOrder) {
  QtMainLoop loop;
  EXPECT_TRUE(loop.isMainThread());
  std::vector<int> ran;
  std::atomic<bool> workerOnMain{true};
  std::atomic<bool> taskOnMain{false};
  std::thread worker([&] {
    workerOnMain = loop.isMainThread();
    for (int i = 0; i < 3; ++i) loop.post([&, i] { ran.push_back(i); });
    loop.post([&] { taskOnMain = loop.isMainThread(); });
  });
  worker.join();
  EXPECT_TRUE(ran.empty());
  ASSERT_TRUE(waitUntil([&] { return taskOnMain.load(); }));
  EXPECT_FALSE(workerOnMain);
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
}

TEST(QtMainLoop, PostFromTheGuiThreadRunsAfterTheCurrentTask) {
  QtMainLoop loop;
  bool ran = false;
  loop.post([&] { ran = true; });
  EXPECT_FALSE(ran);
  EXPECT_TRUE(waitUntil([&] { return ran; }));
}

TEST(QtMainLoop, TimersTickUntilStopped) {
  QtMainLoop loop;
  int ticks = 0;
  const auto id = loop.startTimer(5ms, [&] { ++ticks; });
  ASSERT_TRUE(waitUntil([&] { return ticks >= 3; }));
  loop.stopTimer(id);
  const int stoppedAt = ticks;
  waitUntil([] { return false; }, 50);
  EXPECT_EQ(ticks, stoppedAt);
}

TEST(QtMainLoop, TimerMayStopItselfFromItsTick) {
  QtMainLoop loop;
  int ticks = 0;
  QtMainLoop::TimerId id = 0;
  id = loop.startTimer(1ms, [&] {
    ++ticks;
    loop.stopTimer(id);
  });
  waitUntil([] { return false; }, 50);
  EXPECT_EQ(ticks, 1);
}

TEST(QtMainLoop, TimerStartedAndStoppedByAWorkerNeverTicks) {
  QtMainLoop loop;
  std::atomic<int> ticks{0};
  std::thread([&] {
    const auto id = loop.startTimer(1ms, [&] { ++ticks; });
    loop.stopTimer(id);
  }).join();
  waitUntil([] { return false; }, 50);
  EXPECT_EQ(ticks, 0);
}

TEST(QtMainLoop, TimerStartedByAWorkerTicksOnTheGuiThread) {
  QtMainLoop loop;
  std::atomic<bool> onMain{false};
  QtMainLoop::TimerId id = 0;
  std::thread([&] { id = loop.startTimer(1ms, [&] { onMain = loop.isMainThread(); }); }).join();
  EXPECT_TRUE(waitUntil([&] { return onMain.load(); }));
  loop.stopTimer(id);
}

TEST(QtMainLoop, QuitEndsTheApplicationLoop) {
  QtMainLoop loop;
  std::thread([&] { loop.quit(); }).join();
  bool stuck = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] {
    stuck = true;
    QCoreApplication::exit(1);
  });
  guard.start(2000);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_FALSE(stuck);
}

}  // namespace
}  // namespace kad::qt
