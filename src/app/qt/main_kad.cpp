// kad-main: the uploader's main window on Qt.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <exception>

#include "background_work_qt.h"
#include "form_binder.h"
#include "qt_dialogs.h"
#include "qt_main_loop.h"
#include "shell/kad_main.h"
#include "ui/timers.h"

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int) { stopRequested = true; }

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("");  // the brand's title is set once the profile is known
  std::signal(SIGTERM, requestStop);
  std::signal(SIGINT, requestStop);

  kad::qt::QtMainLoop loop;
  kad::qt::QtDialogs dialogs;
  kad::platform::SystemClock clock;
  kad::platform::SystemProcesses processes;
  kad::TKadMain window(KAD_PROFILE, {kad::platform::programDirectory(), dialogs, loop, clock, processes});
  window.runTransfer = kad::qt::backgroundWorkWithPainting();
  kad::qt::FormBinder mainBinder(window.form);
  kad::qt::FormBinder languageBinder(window.languageForm);
  dialogs.setMainWindow(mainBinder.window());
  kad::ui::bindTimers(window.form, loop);
  mainBinder.onClose = [&] {
    window.FormClose();
    QApplication::quit();
  };
  languageBinder.onClose = [&] { window.languageButCancelarClick(); };

  // A termination request closes the window as the operator would.
  QTimer stopWatch;
  QObject::connect(&stopWatch, &QTimer::timeout, [&] {
    if (!stopRequested) return;
    // A question still open is answered as a closed box is; then the window closes.
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    else mainBinder.window()->close();
  });
  stopWatch.start(200);

  int result = 0;
  try {
    window.FormCreate();
    QApplication::setApplicationDisplayName(QString::fromStdString(window.applicationTitle));
    QApplication::setWindowIcon(QIcon(QString::fromStdString(window.applicationIcon)));
    window.form.root().setVisible(true);
    result = QApplication::exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, QString::fromStdString(window.applicationTitle), QString::fromUtf8(error.what()));
    result = 1;
  }
  window.FormDestroy();
  return result;
}
