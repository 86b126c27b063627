#include "background_work_qt.h"

#include <QEventLoop>
#include <QMetaObject>

#include <thread>

namespace kad::qt {

ui::BackgroundWork backgroundWorkWithPainting() {
  return [](const std::function<void()>& work) {
    QEventLoop waiting;
    std::thread helper([&] {
      work();
      // Queued: a quit that arrives before exec() starts still ends it.
      QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    helper.join();
  };
}

}  // namespace kad::qt
