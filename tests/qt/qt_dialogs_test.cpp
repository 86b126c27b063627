#include "qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <thread>

#include "qt_test_support.h"
#include "support/temp_dir.h"

namespace kad::qt {
namespace {

using test::waitUntil;

TEST(QtFileFilter, ClassicFiltersBecomeQtFilters) {
  const std::pair<std::string, QString> cases[] = {
      {"Bin files (*.bin)|*.bin|All files (*.*)|*.*", "Bin files (*.bin);;All files (*)"},
      {"Log files (*.log)|*.log|Text files (*.txt)|*.txt", "Log files (*.log);;Text files (*.txt)"},
      {"Pages|*.tag;*.bin", "Pages (*.tag *.bin)"},
      {"|*.csv", "*.csv"},
      {"", ""},
      {"Dangling description", ""},
      {"Empty patterns||Csv (*.csv)|*.csv", "Csv (*.csv)"},
  };
  for (const auto& [classic, expected] : cases) EXPECT_EQ(qtFileFilter(classic), expected) << classic;
}

// Answers the modal dialog a worker opens, from a timer: the dialog runs its own event
// loop, so only events reach it. After three seconds any modal dialog is rejected, so the
// worker is always released before the test joins it.
template <typename Dialog>
bool answerModal(const std::function<void(Dialog*)>& answer, const std::atomic<bool>& workerDone) {
  bool answered = false;
  QElapsedTimer clock;
  clock.start();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<Dialog*>(modal); dialog && !answered) {
      answered = true;
      answer(dialog);
    } else if (auto* other = qobject_cast<QDialog*>(modal); other && clock.elapsed() > 3000) {
      other->reject();
    }
  });
  poll.start(10);
  while (!workerDone) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return answered;
}

struct BoxCase {
  ui::Buttons buttons;
  QMessageBox::StandardButton press;
  ui::Answer expected;
};

class MessageBoxFromWorker : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxFromWorker, RunsOnTheGuiThreadAndReturnsTheAnswer) {
  const BoxCase& c = GetParam();
  QtDialogs dialogs;
  std::atomic<bool> done{false};
  ui::Answer answer = ui::Answer::Cancel;
  std::thread worker([&] {
    answer = dialogs.messageBox("Confirm", "Write the pages?", c.buttons, ui::Icon::Question);
    done = true;
  });
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  const bool answered = answerModal<QMessageBox>(
      [&](QMessageBox* box) {
        EXPECT_EQ(box->thread(), QApplication::instance()->thread());
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(c.press)->click();
      },
      done);
  worker.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(title, "Confirm");
  EXPECT_EQ(text, "Write the pages?");
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(answer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Answers, MessageBoxFromWorker,
                         ::testing::Values(BoxCase{ui::Buttons::YesNo, QMessageBox::Yes, ui::Answer::Yes},
                                           BoxCase{ui::Buttons::YesNo, QMessageBox::No, ui::Answer::No},
                                           BoxCase{ui::Buttons::Ok, QMessageBox::Ok, ui::Answer::Ok}));

TEST(QtDialogs, MessageBoxOnTheGuiThreadGoesOverTheMainWindow) {
  QtDialogs dialogs;
  QWidget window;
  dialogs.setMainWindow(&window);
  QWidget* parent = nullptr;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeModalWidget() != nullptr; }));
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    parent = box->parentWidget();
    box->button(QMessageBox::No)->click();
  });
  EXPECT_FALSE(dialogs.askYesNo("Confirm", "Quit?"));
  EXPECT_EQ(parent, &window);
}

TEST(QtDialogs, SaveFileFromWorkerAddsTheDefaultExtension) {
  kad::test::TempDir dir;
  QtDialogs dialogs;
  std::atomic<bool> done{false};
  std::optional<std::string> chosen;
  std::thread worker([&] {
    chosen = dialogs.saveFile({"Save the log", "Log files (*.log)|*.log|All files (*.*)|*.*", ".log",
                               dir.path().string()});
    done = true;
  });
  QStringList filters;
  const bool answered = answerModal<QFileDialog>(
      [&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        dialog->selectFile(QString::fromStdString((dir.path() / "session").string()));
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
      },
      done);
  worker.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(filters, (QStringList{"Log files (*.log)", "All files (*)"}));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, (dir.path() / "session.log").string());
}

TEST(QtDialogs, CancelledChoicesReturnNothing) {
  QtDialogs dialogs;
  const std::function<std::optional<std::string>()> choices[] = {
      [&] { return dialogs.openFile({"Open", "Bin files (*.bin)|*.bin", "", ""}); },
      [&] { return dialogs.selectFolder("Folder"); },
  };
  for (const auto& choose : choices) {
    std::atomic<bool> done{false};
    std::optional<std::string> chosen = std::string("not answered");
    std::thread worker([&] {
      chosen = choose();
      done = true;
    });
    const bool answered = answerModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); }, done);
    worker.join();
    ASSERT_TRUE(answered);
    EXPECT_FALSE(chosen.has_value());
  }
}

}  // namespace
}  // namespace kad::qt
