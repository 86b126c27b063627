// kad-main in a real X server, operated with the keyboard: F5, the instruction box, and the
// upload of a simulated USB unit to its end.
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

#include "demo_data.h"
#include "process/x_session.h"
#include "support/loopback_http_server.h"
#include "support/temp_dir.h"
#include "unit_state.h"

namespace kad::test {
namespace {

const std::filesystem::path kBin = KAD_TEST_BIN_DIR;

bool waitForWindow(const XSession& x, const std::string& title, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!x.windows(title).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

TEST(MainWindowProcess, F5UpdatesASimulatedUsbUnitToTheEnd) {
  XSession x;
  if (!x.ok()) GTEST_SKIP() << "no Xvfb on this machine";
  TempDir dir;
  const auto program = dir.path() / "program";
  const auto drive = dir.path() / "drive";
  std::filesystem::create_directories(drive);
  unitsim::writeDemoProgramDirectory(program);
  std::filesystem::copy_file(kBin / "kad-main", program / "kad-main");
  const auto state = dir.path() / "unit-state.txt";
  const pid_t unit = startProgram(kBin / "kad-unitsim",
                                  {"usb", "--drive", drive.string(), "--model", "E1", "--hard", "pc", "--state",
                                   state.string(), "--exit-after-last", "--poll-ms", "20", "--max-seconds", "90"},
                                  {}, dir.path() / "unit.txt");
  const pid_t main = startProgram(program / "kad-main", {},
                                  {{"DISPLAY", x.display()}, {"QT_QPA_PLATFORM", "xcb"}, {"KAD_USB_DRIVES", drive.string()}},
                                  dir.path() / "main.txt");
  const std::string title = "^KAD - Dorn Uploader - RQV527PU v1.0$";
  ASSERT_TRUE(waitForWindow(x, title, std::chrono::seconds(30))) << readWholeFile(dir.path() / "main.txt");

  ASSERT_TRUE(x.pressKeys(title, "F5"));
  ASSERT_TRUE(waitForWindow(x, "^Information$", std::chrono::seconds(10))) << "no instruction box";
  ASSERT_TRUE(x.pressKeys("^Information$", "Return"));

  // The upload runs on its own; its end shows "Operation complete." in a second box.
  ASSERT_EQ(waitFor(unit, std::chrono::seconds(60)), 0) << "the unit did not take the whole update";
  ASSERT_TRUE(waitForWindow(x, "^Information$", std::chrono::seconds(10)));
  EXPECT_TRUE(x.screenshot(std::filesystem::path(KAD_TEST_ARTIFACT_DIR) / "kad_main_xvfb_update.png"));
  x.pressKeys("^Information$", "Return");
  const auto memory = unitsim::loadState(state);
  ASSERT_TRUE(memory);
  EXPECT_TRUE(memory->finished);
  EXPECT_EQ(memory->events.size(), 23u);

  ::kill(main, SIGTERM);  // closes the window as the operator would
  EXPECT_EQ(waitFor(main, std::chrono::seconds(20)), 0) << readWholeFile(dir.path() / "main.txt");
}

}  // namespace
}  // namespace kad::test
