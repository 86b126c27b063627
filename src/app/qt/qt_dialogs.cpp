#include "qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QThread>

namespace kad::qt {
namespace {

// Runs the task on the GUI thread and returns its result; from another thread the caller
// waits until the GUI thread has run it.
template <typename Result, typename Task>
Result onGuiThread(Task task, Result fallback) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return fallback;
  if (QThread::currentThread() == app->thread()) return task();
  Result result = fallback;
  QMetaObject::invokeMethod(app, [&] { result = task(); }, Qt::BlockingQueuedConnection);
  return result;
}

QMessageBox::Icon toQtIcon(ui::Icon icon) {
  switch (icon) {
    case ui::Icon::Information: return QMessageBox::Information;
    case ui::Icon::Warning: return QMessageBox::Warning;
    case ui::Icon::Error: return QMessageBox::Critical;
    case ui::Icon::Question: return QMessageBox::Question;
    case ui::Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

std::optional<std::string> firstChosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

}  // namespace

QString qtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (QString pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");  // also names without a dot
      if (!pattern.isEmpty()) patterns.append(pattern);
    }
    if (patterns.isEmpty()) continue;
    // The description usually repeats its patterns; Qt reads them from the brackets.
    QString description = parts[i];
    description.remove(trailingPatterns);
    description = description.trimmed();
    const QString joined = patterns.join(QLatin1Char(' '));
    result.append(description.isEmpty() ? joined : description + QStringLiteral(" (") + joined + QLatin1Char(')'));
  }
  return result.join(QStringLiteral(";;"));
}

QWidget* QtDialogs::parentWindow() const {
  return mainWindow_ ? mainWindow_.data() : QApplication::activeWindow();
}

ui::Answer QtDialogs::messageBox(const std::string& title, const std::string& text, ui::Buttons buttons,
                                 ui::Icon icon) {
  return onGuiThread(
      [&] {
        const auto standard = buttons == ui::Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
        QMessageBox box(toQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text), standard,
                        parentWindow());
        switch (box.exec()) {
          case QMessageBox::Ok: return ui::Answer::Ok;
          case QMessageBox::Yes: return ui::Answer::Yes;
          case QMessageBox::No: return ui::Answer::No;
          default: return ui::Answer::Cancel;
        }
      },
      ui::Answer::Cancel);
}

std::optional<std::string> QtDialogs::chooseFile(const ui::FileDialogOptions& options, bool save) {
  return onGuiThread(
      [&]() -> std::optional<std::string> {
        QFileDialog dialog(parentWindow(), QString::fromStdString(options.title),
                           QString::fromStdString(options.initialDir), qtFileFilter(options.filter));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // The program's save dialogs never asked before replacing a file.
        if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        QString extension = QString::fromStdString(options.defaultExtension);
        while (extension.startsWith(QLatin1Char('.'))) extension.remove(0, 1);
        if (!extension.isEmpty()) dialog.setDefaultSuffix(extension);
        return firstChosen(dialog);
      },
      std::optional<std::string>());
}

std::optional<std::string> QtDialogs::openFile(const ui::FileDialogOptions& options) {
  return chooseFile(options, false);
}

std::optional<std::string> QtDialogs::saveFile(const ui::FileDialogOptions& options) {
  return chooseFile(options, true);
}

std::optional<std::string> QtDialogs::selectFolder(const std::string& title) {
  return onGuiThread(
      [&]() -> std::optional<std::string> {
        QFileDialog dialog(parentWindow(), QString::fromStdString(title));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        return firstChosen(dialog);
      },
      std::optional<std::string>());
}

}  // namespace kad::qt
