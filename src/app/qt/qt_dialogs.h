#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/dialogs.h"

namespace kad::qt {

// Message boxes and file choosers as Qt dialogs. A call from a worker thread runs the
// dialog on the GUI thread and waits there for the answer, so the GUI thread must not be
// waiting for that worker at the time.
class QtDialogs : public ui::Dialogs {
 public:
  // The window the dialogs belong to; without one they go over the active window.
  void setMainWindow(QWidget* window) { mainWindow_ = window; }

  ui::Answer messageBox(const std::string& title, const std::string& text, ui::Buttons buttons,
                        ui::Icon icon) override;
  std::optional<std::string> openFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> saveFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> selectFolder(const std::string& title) override;

 private:
  QWidget* parentWindow() const;
  std::optional<std::string> chooseFile(const ui::FileDialogOptions& options, bool save);

  QPointer<QWidget> mainWindow_;
};

// "Bin files (*.bin)|*.bin|All files (*.*)|*.*" becomes "Bin files (*.bin);;All files (*)".
QString qtFileFilter(const std::string& filter);

}  // namespace kad::qt
