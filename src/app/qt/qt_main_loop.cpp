#include "qt_main_loop.h"

#include <QCoreApplication>
#include <QThread>

namespace kad::qt {

QtMainLoop::QtMainLoop() : context_(std::make_unique<QObject>()) {}

QtMainLoop::~QtMainLoop() = default;  // the context takes its timers and queued tasks with it

void QtMainLoop::post(std::function<void()> task) {
  QMetaObject::invokeMethod(context_.get(), std::move(task), Qt::QueuedConnection);
}

bool QtMainLoop::isMainThread() const { return QThread::currentThread() == context_->thread(); }

void QtMainLoop::onGuiThread(std::function<void()> task) {
  if (isMainThread()) task();
  else post(std::move(task));
}

ui::MainLoop::TimerId QtMainLoop::startTimer(std::chrono::milliseconds interval, std::function<void()> tick) {
  TimerId id = 0;
  {
    std::lock_guard lock(mutex_);
    id = ++nextId_;
    starting_.insert(id);
  }
  onGuiThread([this, id, interval, tick = std::move(tick)] {
    std::lock_guard lock(mutex_);
    if (!starting_.erase(id)) return;  // stopped before it was created
    auto* timer = new QTimer(context_.get());
    QObject::connect(timer, &QTimer::timeout, tick);
    timer->start(interval);
    timers_[id] = timer;
  });
  return id;
}

void QtMainLoop::stopTimer(TimerId id) {
  {
    std::lock_guard lock(mutex_);
    if (starting_.erase(id)) return;
  }
  onGuiThread([this, id] {
    std::lock_guard lock(mutex_);
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    // A tick may stop its own timer: the timer goes once the tick has returned.
    found->second->stop();
    found->second->deleteLater();
    timers_.erase(found);
  });
}

void QtMainLoop::quit() {
  QMetaObject::invokeMethod(context_.get(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

}  // namespace kad::qt
