#include "command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "record_maker.h"
#include "support/temp_dir.h"
#include "unit_state.h"

namespace kad::unitsim {
namespace {

using namespace std::chrono_literals;

std::optional<Command> parse(std::vector<std::string> arguments, std::string* error = nullptr) {
  std::string message;
  auto command = parseCommandLine(arguments, message);
  if (error) *error = message;
  return command;
}

TEST(UnitsimCommandLine, UsbOptionsFillTheIdentity) {
  const auto command =
      parse({"usb", "--drive", "/tmp/d", "--model", "t1", "--family", "201", "--hard", "pf", "--client", "ACME",
             "--serial", "98.76.543", "--module-word", "0x0256", "--check-words", "1,0xFFFF", "--calibration",
             "0x10,0x20", "--fault", "late:3:1500", "--state", "/tmp/s", "--exit-after-last", "--max-seconds", "9"});
  ASSERT_TRUE(command);
  EXPECT_EQ(command->action, Command::Action::Usb);
  const auto& id = command->usb.identity;
  EXPECT_EQ(command->usb.drive, "/tmp/d");
  EXPECT_EQ(id.model, EquipmentModel::T1);
  EXPECT_EQ(id.familyCode, 201);
  EXPECT_EQ(id.hardwareType, "pf");
  EXPECT_EQ(id.client, "ACME");
  EXPECT_EQ(id.serial, "98.76.543");
  EXPECT_EQ(id.moduleWord, 0x0256);
  EXPECT_EQ(id.checkWords, (std::array<std::uint16_t, 2>{1, 0xFFFF}));
  EXPECT_EQ(id.calibrationWords, (std::array<std::uint16_t, 2>{0x10, 0x20}));
  EXPECT_EQ(command->usb.fault.kind, UsbFault::Kind::Late);
  EXPECT_EQ(command->usb.fault.record, 3);
  EXPECT_EQ(command->usb.fault.delay, 1500ms);
  EXPECT_EQ(command->usb.stateFile, "/tmp/s");
  EXPECT_TRUE(command->exitAfterLast);
  EXPECT_EQ(command->maxTime, std::chrono::milliseconds(9000));

  const auto raw = parse({"usb", "--drive", "d", "--hard", "0x8B00"});
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->usb.identity.hardwareWord, 0x8B00);
}

TEST(UnitsimCommandLine, BadArgumentsAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> cases = {
      {"serial"},
      {"usb"},
      {"usb", "--drive"},
      {"usb", "--drive", "d", "--model", "E9"},
      {"usb", "--drive", "d", "--family", "70000"},
      {"usb", "--drive", "d", "--module-word", "0xG1"},
      {"usb", "--drive", "d", "--check-words", "1"},
      {"usb", "--drive", "d", "--fault", "late"},
      {"usb", "--drive", "d", "--poll-ms", "0"},
      {"usb", "--drive", "d", "--bogus"},
      {"inspect"},
  };
  for (const auto& arguments : cases) {
    std::string error;
    EXPECT_FALSE(parse(arguments, &error)) << arguments.back();
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(parse({})->action, Command::Action::Help);
}

TEST(UnitsimCommandLine, FaultTexts) {
  struct Case {
    const char* text;
    bool valid;
    UsbFault::Kind kind;
    int record;
  };
  const Case cases[] = {
      {"never", true, UsbFault::Kind::Never, 0},          {"late:1", true, UsbFault::Kind::Late, 1},
      {"vanish:4", true, UsbFault::Kind::Vanish, 4},      {"wrong-model", true, UsbFault::Kind::WrongModel, 0},
      {"wrong-family", true, UsbFault::Kind::WrongFamily, 0}, {"late:0", false, {}, 0},
      {"vanish:2:100", false, {}, 0},                      {"never:1", false, {}, 0},
      {"late:x", false, {}, 0},                             {"", false, {}, 0},
  };
  for (const auto& c : cases) {
    const auto fault = parseUsbFault(c.text);
    ASSERT_EQ(fault.has_value(), c.valid) << c.text;
    if (!fault) continue;
    EXPECT_EQ(fault->kind, c.kind) << c.text;
    EXPECT_EQ(fault->record, c.record) << c.text;
  }
}

// The program itself: runs on a drive folder, takes a record, stops after the last one and leaves a
// state that the inspector prints.
TEST(UnitsimProgram, RunsUntilTheLastRecordAndInspects) {
  kad::test::TempDir dir;
  const auto program = std::filesystem::path(KAD_TEST_BIN_DIR) / "kad-unitsim";
  ASSERT_TRUE(std::filesystem::exists(program));
  const auto drive = dir.path() / "drive";
  const auto state = dir.path() / "state";
  const auto command = program.string() + " usb --drive " + drive.string() + " --model E1 --client ACME --state " +
                       state.string() + " --exit-after-last --max-seconds 20 > " + (dir.path() / "out").string();
  int status = -1;
  std::thread run([&] { status = std::system(command.c_str()); });

  const auto exchange = drive / "firmware.bin";
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!std::filesystem::exists(state) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(20ms);
  test::writeRecord(exchange, test::makeRecord({.page = 0, .last = true, .shown = test::firstEight(exchange)},
                                               test::patternWords(50, 9)));
  run.join();
  EXPECT_EQ(status, 0);

  const auto memory = loadState(state);
  ASSERT_TRUE(memory);
  ASSERT_EQ(memory->events.size(), 1u);
  EXPECT_TRUE(memory->events[0].lastRecord());

  const auto printed = dir.path() / "printed";
  ASSERT_EQ(std::system((program.string() + " inspect --state " + state.string() + " > " + printed.string()).c_str()), 0);
  std::ifstream in(printed);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("1 page 0 (last): 2048 words"), std::string::npos) << text;
}

}  // namespace
}  // namespace kad::unitsim
