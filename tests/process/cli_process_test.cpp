// kad-cli run as a production line runs it, against kad-unitsim as a USB unit on a folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <thread>

#include "demo_data.h"
#include "pagesets/page_file.h"
#include "platform/ini_file.h"
#include "process/x_session.h"
#include "support/loopback_http_server.h"
#include "support/temp_dir.h"
#include "unit_state.h"

namespace kad::test {
namespace {

const std::filesystem::path kBin = KAD_TEST_BIN_DIR;

struct CliRun {
  int exitStatus = -1;
  std::string output;
  unitsim::UnitMemory unit;
};

// A demo program directory with kad-cli in it, a simulated unit on a drive folder, one run.
class CliUpdate {
 public:
  CliUpdate() {
    std::filesystem::create_directories(program());
    std::filesystem::create_directories(drive());
    unitsim::writeDemoProgramDirectory(program());
    std::filesystem::copy_file(kBin / "kad-cli", program() / "kad-cli");
  }
  std::filesystem::path program() const { return dir.path() / "program"; }
  std::filesystem::path drive() const { return dir.path() / "drive"; }
  std::filesystem::path pageSet() const { return program() / "RQV527E1" / "HARD_PF"; }

  CliRun run(const std::vector<std::string>& unitOptions) {
    std::vector<std::string> unitArguments = {"usb",     "--drive",  drive().string(), "--model", "E1",
                                              "--state", state().string(), "--exit-after-last", "--poll-ms", "20",
                                              "--max-seconds", "60"};
    unitArguments.insert(unitArguments.end(), unitOptions.begin(), unitOptions.end());
    const pid_t unit = startProgram(kBin / "kad-unitsim", unitArguments, {}, dir.path() / "unit.txt");
    // The unit is ready once its drive holds the exchange file.
    for (int i = 0; i < 100 && !std::filesystem::exists(drive() / "firmware.bin"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    CliRun result;
    const pid_t cli = startProgram(program() / "kad-cli", {"--yes", "--timeout", "60"},
                                   {{"KAD_USB_DRIVES", drive().string()}}, dir.path() / "cli.txt");
    result.exitStatus = waitFor(cli, std::chrono::seconds(90));
    ::kill(unit, SIGTERM);
    waitFor(unit, std::chrono::seconds(10));
    result.output = readWholeFile(dir.path() / "cli.txt");
    if (auto memory = unitsim::loadState(state())) result.unit = *memory;
    return result;
  }

 private:
  std::filesystem::path state() const { return dir.path() / "unit-state.txt"; }
  TempDir dir;
};

std::vector<std::uint16_t> pageFileWords(const std::filesystem::path& file) {
  const auto parsed = readPageFile(file);
  return parsed.page ? parsed.page->words : std::vector<std::uint16_t>{};
}

TEST(CliProcess, ACompleteE1UpdateWritesEveryPageAndKeepsTheUnitsIdentity) {
  CliUpdate update;
  const auto run = update.run({"--hard", "pc", "--client", "ACME TEL"});
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_NE(run.output.find("Operation complete."), std::string::npos);
  ASSERT_TRUE(run.unit.finished) << run.output;
  for (int page = 1; page <= 20; ++page) {
    const auto expected = pageFileWords(update.pageSet() / ("page" + std::to_string(page) + ".tag"));
    ASSERT_TRUE(run.unit.flash.count(page)) << "page " << page << " was not written";
    const auto& held = run.unit.flash.at(page);
    ASSERT_GE(held.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      // Page 15 carries the unit's module word in word 16.
      const std::uint16_t want = page == 15 && i == 16 ? 0x4567 : expected[i];
      ASSERT_EQ(held[i], want) << "page " << page << " word " << i;
    }
  }
  // Page 25 is the second half of page 12.
  const auto half = pageFileWords(update.pageSet() / "page25.tag");
  ASSERT_GE(run.unit.flash.at(12).size(), 32768 + half.size());
  EXPECT_TRUE(std::equal(half.begin(), half.end(), run.unit.flash.at(12).begin() + 32768));
  // Page 0 came last, with the unit's own client name laid in from word 70.
  const auto pageZero = run.unit.pageZero();
  const std::string client = "ACMETEL";
  for (std::size_t i = 0; i < client.size(); ++i) EXPECT_EQ(pageZero[70 + i], client[i]) << i;
  EXPECT_EQ(pageZero[4], 200);
  EXPECT_EQ(run.unit.events.size(), 23u);
}

TEST(CliProcess, AUnitThatNeverTakesARecordEndsWithExitCodeOne) {
  CliUpdate update;
  const auto run = update.run({"--hard", "pc", "--fault", "never"});
  EXPECT_EQ(run.exitStatus, 1) << run.output;
  EXPECT_NE(run.output.find("The unit is not responding, try again later."), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("Operation complete."), std::string::npos);
  EXPECT_TRUE(run.unit.events.empty());
}

TEST(CliProcess, AMissingPageFileEndsBeforeAnythingIsWritten) {
  CliUpdate update;
  std::filesystem::remove(update.pageSet() / "page12.tag");
  const auto run = update.run({"--hard", "pc"});
  EXPECT_EQ(run.exitStatus, 1) << run.output;
  EXPECT_NE(run.output.find("page12.tag was not found! Operation aborted..."), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("page11.tag OK!"), std::string::npos);
  EXPECT_TRUE(run.unit.events.empty());
  EXPECT_FALSE(run.unit.finished);
}

TEST(CliProcess, UsageErrorsAndHelp) {
  struct Case {
    std::vector<std::string> arguments;
    int exitStatus;
    const char* says;
  };
  TempDir dir;
  for (const Case& c : {Case{{"--help"}, 0, "Exit codes"}, Case{{"--link", "usb", "--model", "TP"}, 2, "offers no usb"},
                        Case{{"--model", "XYZ"}, 2, "unknown model"}, Case{{"--port", "9"}, 2, "1 to 8"},
                        Case{{"--yes", "--no"}, 2, "exclude"}, Case{{"--frobnicate"}, 2, "unknown argument"}}) {
    std::filesystem::copy_file(kBin / "kad-cli", dir.path() / "kad-cli", std::filesystem::copy_options::overwrite_existing);
    std::ofstream(dir.path() / "DORN.ini") << "[Atualiza]\nAutomatico=N?o\n";
    const pid_t cli = startProgram(dir.path() / "kad-cli", c.arguments, {}, dir.path() / "out.txt");
    EXPECT_EQ(waitFor(cli, std::chrono::seconds(20)), c.exitStatus) << c.arguments.front();
    EXPECT_NE(readWholeFile(dir.path() / "out.txt").find(c.says), std::string::npos) << c.arguments.front();
  }
}

}  // namespace
}  // namespace kad::test

namespace kad::test {
namespace {

TEST(CliProcess, AnswerRulesComeBeforeTheDefaultAnswer) {
  TempDir dir;
  std::filesystem::copy_file(kBin / "kad-cli", dir.path() / "kad-cli");
  std::filesystem::create_directories(dir.path() / "no-drive");
  std::ofstream(dir.path() / "answers.txt") << "# first-start question\nno automática|automatic\n";
  // No brand file yet: the first start asks about the automatic update check.
  const pid_t cli = startProgram(dir.path() / "kad-cli", {"--yes", "--answers", (dir.path() / "answers.txt").string()},
                                 {{"KAD_USB_DRIVES", (dir.path() / "no-drive").string()}}, dir.path() / "out.txt");
  EXPECT_EQ(waitFor(cli, std::chrono::seconds(30)), 1);  // no unit on the drive
  const auto output = readWholeFile(dir.path() / "out.txt");
  EXPECT_NE(output.find("Deseja habilitar a verificação automática"), std::string::npos) << output;
  EXPECT_NE(output.find("  -> No"), std::string::npos) << output;
  EXPECT_EQ(platform::IniFile(dir.path() / "DORN.ini").readString("Atualiza", "Automatico", ""), "N?o");
}

}  // namespace
}  // namespace kad::test
