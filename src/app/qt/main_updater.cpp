// kad-updater: fetches the newest kad-main, unpacks it next to itself and starts it again.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <exception>

#include "background_work_qt.h"
#include "form_binder.h"
#include "qt_dialogs.h"
#include "qt_main_loop.h"
#include "updater/updater.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kad::qt::QtMainLoop loop;
  kad::qt::QtDialogs dialogs;
  kad::platform::SystemProcesses processes;
  try {
    kad::updater::TForm1 updater({kad::platform::programDirectory(), dialogs, loop, processes});
    updater.runTransfer = kad::qt::backgroundWorkWithPainting();
    kad::qt::FormBinder binder(updater.form);
    dialogs.setMainWindow(binder.window());
    binder.onClose = [] { QApplication::quit(); };
    updater.form.root().setVisible(true);
    // The update runs once the window is up, as when it first becomes active.
    QTimer::singleShot(0, [&] { updater.FormActivate(); });
    return QApplication::exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, "KAD", QString::fromUtf8(error.what()));
    return 1;
  }
}
