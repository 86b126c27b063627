#pragma once
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "ui/main_loop.h"

namespace kad::qt {

// The engine's main loop on Qt's event loop. Construct it on the GUI thread, after the
// application object; every other call may come from any thread.
class QtMainLoop : public ui::MainLoop {
 public:
  QtMainLoop();
  ~QtMainLoop() override;

  void post(std::function<void()> task) override;
  bool isMainThread() const override;
  TimerId startTimer(std::chrono::milliseconds interval, std::function<void()> tick) override;
  void stopTimer(TimerId id) override;
  void quit() override;

 private:
  void onGuiThread(std::function<void()> task);

  std::unique_ptr<QObject> context_;
  std::mutex mutex_;
  TimerId nextId_ = 0;
  std::set<TimerId> starting_;         // started, not yet created on the GUI thread
  std::map<TimerId, QTimer*> timers_;  // owned by context_
};

}  // namespace kad::qt
