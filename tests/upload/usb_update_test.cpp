#include <gtest/gtest.h>

#include <algorithm>
#include <latch>

#include "support/usb_fixture.h"
#include "upload/usb_update.h"

namespace kad {
namespace {

using namespace std::chrono_literals;
using test::markOf;
using test::UsbFixture;
using unitsim::EventKind;

std::vector<int> pagesTaken(const unitsim::UnitMemory& memory) {
  std::vector<int> pages;
  for (const auto& event : memory.events) pages.push_back(event.page);
  return pages;
}

bool lastRecordTaken(const unitsim::UnitMemory& memory) {
  return std::any_of(memory.events.begin(), memory.events.end(), [](const auto& e) { return e.lastRecord(); });
}

std::uint16_t firstWordOfPage(const unitsim::UnitMemory& memory, int page) {
  const auto it = memory.flash.find(page);
  return it == memory.flash.end() || it->second.empty() ? 0 : it->second[0];
}

TEST(UploadTimeStamp, FromTheClockFieldsWithOneSecondAdded) {
  struct Case {
    platform::LocalDateTime local;
    std::uint32_t expected;
  };
  for (const Case& c : {Case{{2024, 3, 5, 10, 20, 30}, 1709634031u},  // after the leap day
                        Case{{2024, 2, 29, 0, 0, 0}, 1709164801u},
                        Case{{1970, 1, 1, 0, 0, 0}, 1u},
                        Case{{2023, 12, 31, 23, 59, 59}, 1704067200u}}) {
    EXPECT_EQ(uploadTimeStampFor(c.local), c.expected) << c.local.year << "-" << c.local.month << "-" << c.local.day;
  }
}

TEST(UnitFile, TextsAreCleanedAsRead) {
  EXPECT_EQ(formatSerialNumber("1234567"), "12.34.567");
  EXPECT_EQ(formatSerialNumber("12.34.567"), "12.34.567");
  EXPECT_EQ(formatSerialNumber("12"), "12");
  EXPECT_EQ(formatSerialNumber(""), "");

  // An image unit's identity header: zero bytes become points, which then go.
  std::vector<std::uint8_t> data(400, 0);
  const std::string header = std::string("1234567\0\0\0", 10) + std::string("AC ME\0\0\0\0\0\0\0\0\0", 14) +
                             std::string("01\0\0", 4) + std::string("3.4\0", 4) + std::string("c1\0\x03", 4);
  std::copy(header.begin(), header.end(), data.begin());
  const UnitFileFields fields = parseUnitFile(data, true);
  EXPECT_EQ(fields.serialNumber, "12.34.567");
  EXPECT_EQ(fields.clientName, "ACME");
  EXPECT_EQ(fields.sliver, "01");
  EXPECT_EQ(fields.cpuVersion, "34");
  EXPECT_EQ(fields.equipVersion, "34");
  EXPECT_EQ(fields.hardwareType, "c1");  // the model byte after the zero is not part of it

  // A short or empty file reads as zeros, never past its end.
  const UnitFileFields empty = parseUnitFile({}, false);
  EXPECT_EQ(empty.clientName, "");
  EXPECT_EQ(empty.moduleWord, 0);
}

TEST(UnitDrive, TheUnitsDriveIsFoundAfterAStickWithoutTheFile) {
  UsbFixture f;
  const auto stick = f.h.dir.path() / "stick";
  std::filesystem::create_directories(stick);
  UsbFixture::setDrives({stick, f.unitDrive()});
  f.plugIn();
  auto& m = f.start();
  EXPECT_TRUE(m.FindUnitDrive());
  EXPECT_EQ(m.usb.unitDriveRoot, f.unitDrive());

  // No drive holds the file.
  UsbFixture::setDrives({stick});
  f.h.dialogs.expectMessage("The unit was not found.");
  EXPECT_FALSE(m.FindUnitDrive());
}

TEST(UnitDrive, CatvLineupUpdateStopsAtTheFirstDriveWithoutTheLineupFile) {
  UsbFixture f;
  const auto stick = f.h.dir.path() / "stick";
  std::filesystem::create_directories(stick);
  unitsim::UnitIdentity catv;
  catv.model = EquipmentModel::CATV;
  catv.lineup = true;
  f.plugIn(catv);
  UsbFixture::setDrives({stick, f.unitDrive()});
  auto& m = f.start(EquipmentModel::CATV);
  const auto lineup = f.h.dir.path() / "channels.csv";
  std::ofstream(lineup) << "1;55.25\n";
  f.h.dialogs.expectMessage("line-up file's path");
  f.h.dialogs.expectOpenFile(lineup.string());
  m["chkSelModulos"].setChecked(true);
  f.h.dialogs.expectMessage("not configured for the selected update process");
  EXPECT_FALSE(m.FindUnitDrive());
  EXPECT_EQ(f.h.dialogs.shown().back().title, "Error");

  UsbFixture::setDrives({f.unitDrive(), stick});
  EXPECT_TRUE(m.FindUnitDrive());
}

TEST(UsbConnection, ConnectReadsTheIdentityAndListsTheModules) {
  UsbFixture f;
  unitsim::UnitIdentity unit;
  unit.client = "ACME TEL";
  unit.hardwareType = "pc";
  f.plugIn(unit);
  auto& m = f.start();
  bool writeStarted = false;
  m["ButPaginas"].onClick = [&] { writeStarted = true; };
  f.connect();
  EXPECT_TRUE(writeStarted);  // the customer build goes on to "Gravar páginas" by itself
  EXPECT_EQ(m["EditNomeCliente"].text(), "ACMETEL");
  EXPECT_EQ(m["MaskNSerie"].text(), "12.34.567");
  EXPECT_EQ(m["EditCPU"].text(), "12");
  EXPECT_EQ(m["EditEquip"].text(), "34");
  EXPECT_EQ(m["EditBateria"].text(), "56");
  EXPECT_EQ(m["EditTipoHard"].text(), "pc");
  EXPECT_EQ(m.personalData.moduleWord, 0x4567);
  EXPECT_EQ(m.personalData.calibrationWords, (CalibrationWords{0x1234, 0x5678}));
  EXPECT_EQ(m.personalData.unitWords112To127[0], unitsim::moduleAreaWord(112));
  EXPECT_EQ(m.personalData.unitWords128To136[8], unitsim::moduleAreaWord(136));
  EXPECT_EQ(m["StringGrid"].rowCount(), 15);
  EXPECT_TRUE(m["StringGrid"].enabled());
  EXPECT_FALSE(m["ButIniciar"].enabled());
  EXPECT_TRUE(m["ButCancelar"].enabled());
  const auto log = f.h.log();
  EXPECT_EQ(log.back(), "Unit connected via USB.");
  EXPECT_NE(std::find(log.begin(), log.end(), "KAD waiting. Connect the unit in the USB port!"), log.end());

  // An operator-marked field keeps what the operator typed.
  m.EndConnection();
  f.expectIdleWindow();
  EXPECT_EQ(m["EditNomeCliente"].text(), "");
  m["EditNomeCliente"].setText("MINE");
  m["EditNomeCliente"].setMark(true);
  f.connect();
  EXPECT_EQ(m["EditNomeCliente"].text(), "MINE");
}

TEST(UsbConnection, NoUnitEndsTheConnectionAndLeavesTheWindowIdle) {
  UsbFixture f;
  auto& m = f.start();
  f.h.dialogs.expectMessage("Plug the USB in the unit");
  f.h.dialogs.expectMessage("The unit was not found.");
  m.ButIniciarClick();
  f.expectIdleWindow();
  EXPECT_EQ(f.h.log().back(), "USB connection closed.");
  EXPECT_TRUE(m["chkAllPages"].enabled());
  EXPECT_FALSE(m["chkPageX"].checked());
}

TEST(UsbConnection, UnitsOfAnotherKindAreNotConnected) {
  {
    UsbFixture f;  // a T1 unit while E1 is selected
    unitsim::UnitIdentity t1;
    t1.model = EquipmentModel::T1;
    f.plugIn(t1);
    auto& m = f.start();
    f.h.dialogs.expectMessage("Plug the USB in the unit");
    f.h.dialogs.expectMessage("");  // the model check's own error
    f.h.dialogs.expectMessage("Unable to read the necessary data from the unit.");
    m.ButIniciarClick();
    f.expectIdleWindow();
    EXPECT_EQ(f.h.dialogs.shown().at(1).title, "Error");
  }
  {
    UsbFixture f;  // an OTDR unit while the OPM is selected
    unitsim::UnitIdentity otdr;
    otdr.model = EquipmentModel::OTDR;
    f.plugIn(otdr);
    auto& m = f.start(EquipmentModel::OPM);
    f.h.dialogs.expectMessage("Turn the unit on normaly");
    f.h.dialogs.expectMessage("");  // the model-byte check's own message
    m.ButIniciarClick();
    f.expectIdleWindow();
    EXPECT_EQ(f.h.log().back(), "USB connection closed.");
  }
}

TEST(UsbUpload, TwentyPageE1WritesEveryPageThenPageZeroWithThePersonalData) {
  UsbFixture f;
  f.plugIn();
  auto& m = f.start();
  f.connect();
  m["chkDataHora"].setChecked(true);
  f.h.dialogs.expectMessage("Operation complete.");
  f.upload();
  f.letUnitLook();  // the unit takes page 0 on its own, after the program has let go

  const auto memory = f.unit->memory();
  std::vector<int> expected = {memory.events.front().page};
  for (int page = 1; page <= 12; ++page) expected.push_back(page);
  expected.push_back(25);
  for (int page = 13; page <= 20; ++page) expected.push_back(page);
  expected.push_back(0);
  EXPECT_EQ(pagesTaken(memory), expected);
  EXPECT_EQ(memory.events.front().kind, EventKind::RamProgram);
  EXPECT_EQ(memory.ramProgram.at(0), markOf("user.tag"));
  EXPECT_EQ(firstWordOfPage(memory, 7), markOf("page7.tag"));
  EXPECT_EQ(memory.flash.at(12).at(32768), markOf("page25.tag"));
  for (const auto& event : memory.events) {
    EXPECT_TRUE(event.echoOk) << event.index;
    EXPECT_TRUE(event.formatOk) << event.index;
    EXPECT_EQ(event.lastRecord(), event.page == 0 && &event == &memory.events.back()) << event.index;
  }
  // The time stamp: its low half in the first record, its high half in every later one.
  const std::uint32_t stamp = uploadTimeStampFor(f.h.clock.local);
  EXPECT_EQ(memory.events.front().stampHalf(), stamp & 0xFFFF);
  EXPECT_EQ(memory.events.back().stampHalf(), stamp >> 16);

  // Page 0 as the unit holds it: the page-set words with the unit's own data laid in.
  const auto& page0 = memory.flash.at(0);
  EXPECT_EQ(page0[0], markOf("page0.tag"));
  const std::string client = "ACMETEL";
  for (std::size_t i = 0; i < client.size(); ++i) EXPECT_EQ(page0[70 + i], client[i]) << i;
  EXPECT_EQ(page0[70 + client.size()], 0);
  for (std::size_t n = 112; n <= 136; ++n) EXPECT_EQ(page0[n], unitsim::moduleAreaWord(n)) << n;
  EXPECT_EQ(page0[137], 0x4567);
  EXPECT_EQ(page0[184], 0x1234);
  EXPECT_EQ(page0[185], 0x5678);

  f.expectIdleWindow();
  const auto log = f.h.log();
  // Every record is loaded through the page loader: opened, sent, then reported opened.
  const auto opening = std::find(log.begin(), log.end(), "Opening page7.tag...");
  ASSERT_LE(std::distance(opening, log.end()), std::distance(log.begin(), log.end()) - 1);
  EXPECT_EQ(*(opening + 1), "Page page7.tag successfully sent.");
  EXPECT_EQ(*(opening + 2), "page7.tag opened.");
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& line) { return line.ends_with(" opened."); }),
            static_cast<std::ptrdiff_t>(expected.size()));
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 3], "USB connection closed.");
  EXPECT_EQ(log[log.size() - 2], "Operation complete.");
  EXPECT_EQ(log.back(), "Unit disconnected.");
  EXPECT_TRUE(m.connection.uploadFinished);
}

TEST(UsbUpload, FifteenPageE1WritesTheModulesOfTheSlots) {
  UsbFixture f;
  unitsim::UnitIdentity unit;
  unit.hardwareType = "a";
  unit.moduleWord = 0x1456;  // X.50 (split in two halves), ISDN, Dual Tx/Rx, Pulse Mask
  f.plugIn(unit);
  auto& m = f.start();
  f.connect();
  f.h.dialogs.expectMessage("Operation complete.");
  f.upload();
  f.letUnitLook();

  const auto memory = f.unit->memory();
  std::vector<int> expected = {memory.events.front().page, 1, 2, 3, 4, 5, 6, 7, 8, 9, 25, 10, 11, 12, 13, 14, 15, 0};
  EXPECT_EQ(pagesTaken(memory), expected);
  EXPECT_EQ(firstWordOfPage(memory, 9), markOf("x50r.tag"));
  EXPECT_EQ(memory.flash.at(9).at(32768), markOf("x50c.tag"));
  EXPECT_EQ(firstWordOfPage(memory, 12), markOf("isdn.tag"));
  EXPECT_EQ(firstWordOfPage(memory, 13), markOf("tc3.tag"));
  EXPECT_EQ(firstWordOfPage(memory, 14), markOf("pms.tag"));
  EXPECT_EQ(memory.flash.at(15).at(16), 0x1456);
  EXPECT_EQ(memory.flash.at(0).at(137), 0x1456);
  EXPECT_EQ(m["ProgressTotal"].max(), 16);
}

TEST(UsbUpload, OperatorChosenModulesGoIntoTheSlots) {
  UsbFixture f;
  unitsim::UnitIdentity unit;
  unit.hardwareType = "k";
  unit.moduleWord = 0x4567;
  f.plugIn(unit);
  auto& m = f.start();
  f.connect();
  // Swap ETHERNET (index 7) for X.25 (index 0) in the grid.
  m.StringGridMouseUp(1, 14);
  m.StringGridDblClick();
  m.StringGridMouseUp(1, 7);
  m.StringGridDblClick();
  f.h.dialogs.expectMessage("Operation complete.");
  f.upload();
  f.letUnitLook();
  const auto memory = f.unit->memory();
  EXPECT_EQ(firstWordOfPage(memory, 9), markOf("x25.tag"));
  EXPECT_EQ(memory.flash.at(0).at(137), 0x0456);
}

TEST(UsbUpload, TimWithAndWithoutTheCalibrationPage) {
  for (const bool calibration : {false, true}) {
    SCOPED_TRACE(calibration);
    UsbFixture f("Engenharia");
    unitsim::UnitIdentity unit;
    unit.model = EquipmentModel::TIM;
    f.plugIn(unit);
    auto& m = f.start(EquipmentModel::TIM);
    if (calibration) {
      m["chkGravComPagCalib"].setChecked(true);
      f.h.dialogs.expectMessage("save the calibration page", ui::Answer::Yes);
    } else {
      m["chkAllPages"].setChecked(true);
    }
    f.connect();
    f.h.dialogs.expectMessage("Operation complete.");
    f.upload();
    f.letUnitLook();
    const auto memory = f.unit->memory();
    std::vector<int> expected = {memory.events.front().page, 2, 4};
    if (calibration) expected.push_back(6);
    for (int file = 8; file <= 16; file += 2) expected.push_back(file);
    expected.push_back(0);
    EXPECT_EQ(pagesTaken(memory), expected);
    EXPECT_EQ(memory.ramProgram.at(0), markOf("flash_r2.tag"));
    EXPECT_EQ(m["ProgressTotal"].max(), calibration ? 9 : 8);
  }
}

TEST(UsbUpload, OnlyOnePage) {
  UsbFixture f;
  f.plugIn();
  auto& m = f.start();
  f.connect();
  m["chkPageX"].setChecked(true);
  m["EditPag"].setText("7");
  f.h.dialogs.expectMessage("Operation complete.");
  f.upload();
  f.letUnitLook();
  const auto memory = f.unit->memory();
  ASSERT_EQ(memory.events.size(), 2u);
  EXPECT_EQ(memory.events[0].kind, EventKind::RamProgram);
  EXPECT_EQ(memory.ramProgram.at(0), markOf("user.tag"));
  EXPECT_EQ(memory.events[1].page, 7);
  EXPECT_TRUE(memory.events[1].lastRecord());
  EXPECT_EQ(firstWordOfPage(memory, 7), markOf("page7.tag"));
}

TEST(UsbUpload, OtdrImageKeepsThePreservedAreaAndWritesTheIdentityHeader) {
  UsbFixture f("Engenharia");
  unitsim::UnitIdentity unit;
  unit.model = EquipmentModel::OTDR;
  unit.hardwareType = "c2";
  f.plugIn(unit);
  std::vector<char> program(1000);
  for (std::size_t i = 0; i < program.size(); ++i) program[i] = static_cast<char>(i * 7);
  std::ofstream(f.pageSet() / "programa_principal.bin", std::ios::binary).write(program.data(), 1000);
  auto& m = f.start(EquipmentModel::OTDR);
  f.connect("Press F2 + F3 + ON/ OFF");
  EXPECT_EQ(m["EditTipoHard"].text(), "c2");
  EXPECT_EQ(m["StringGrid"].rowCount(), 2);  // OPM and SLS: no VFL on "c2"
  m["EditNomeCliente"].setText("NEWNAME");
  f.h.dialogs.expectMessage("Operation complete.");
  f.upload();
  f.letUnitLook();

  const auto memory = f.unit->memory();
  ASSERT_EQ(memory.images.size(), 1u);
  const auto& image = memory.images.begin()->second;
  ASSERT_GE(image.size(), 21480u);
  EXPECT_EQ(std::string(image.begin() + 10, image.begin() + 17), "NEWNAME");
  EXPECT_EQ(std::string(image.begin() + 32, image.begin() + 34), "c2");
  EXPECT_EQ(image[35], 3);  // the OTDR's model byte
  for (std::size_t i = 36; i < 20480; i += 997) EXPECT_EQ(image[i], unitsim::preservedAreaByte(i)) << i;
  for (std::size_t i = 0; i < program.size(); ++i) ASSERT_EQ(image[20480 + i], static_cast<std::uint8_t>(program[i]));
  f.expectIdleWindow();
}

TEST(UsbUpload, MissingProgramImageIsReported) {
  UsbFixture f;
  unitsim::UnitIdentity unit;
  unit.model = EquipmentModel::OPM;
  f.plugIn(unit);
  f.start(EquipmentModel::OPM);
  f.connect("Turn the unit on normaly");
  f.h.dialogs.expectMessage("The file programa_principal.bin was not found! Operation aborted...\nCheck if the folder");
  f.h.dialogs.expectMessage("Error while uploading the unit!");
  f.upload();
  f.expectIdleWindow();
}

TEST(UsbUpload, APageFileThatCannotBeLoadedStopsTheUploadBeforeIt) {
  for (const bool missing : {true, false}) {
    SCOPED_TRACE(missing ? "missing" : "without its end token");
    UsbFixture f;
    f.plugIn();
    f.start();
    f.connect();
    const auto page7 = f.pageSet() / "page7.tag";
    if (missing) {
      std::filesystem::remove(page7);
    } else {
      std::ofstream(page7, std::ios::binary) << "K0000PAGEXTAG98000B12347F00F\n";
    }
    const std::string message = "Error opening " + page7.string() + "!";
    f.h.dialogs.expectMessage(message);
    f.h.dialogs.expectMessage("Error while uploading the unit!");
    f.upload();
    f.letUnitLook();

    const auto memory = f.unit->memory();
    ASSERT_FALSE(memory.events.empty());
    EXPECT_EQ(memory.events.back().page, 6);
    EXPECT_FALSE(lastRecordTaken(memory));
    f.expectIdleWindow();
    const auto log = f.h.log();
    const auto error = std::find(log.begin(), log.end(), message);
    ASSERT_NE(error, log.end());
    EXPECT_EQ(*(error - 1), "Opening page7.tag...");
    EXPECT_EQ(*(error + 1), "USB connection closed.");
  }
}

TEST(UsbUpload, OtdrCalibrationIsMergedOrLeftOutAsTheOperatorSays) {
  enum class Calibration { Present, MissingGoOn, MissingStop };
  for (const Calibration calibration : {Calibration::Present, Calibration::MissingGoOn, Calibration::MissingStop}) {
    SCOPED_TRACE(static_cast<int>(calibration));
    UsbFixture f("Engenharia");
    unitsim::UnitIdentity unit;
    unit.model = EquipmentModel::OTDR;
    f.plugIn(unit);
    std::ofstream(f.pageSet() / "programa_principal.bin", std::ios::binary) << std::string(1000, '\x5A');
    const auto calibrationFile = f.h.dir.path() / "otdr-cal.bin";
    std::vector<char> calibrationBytes(4096);
    for (std::size_t i = 0; i < calibrationBytes.size(); ++i) calibrationBytes[i] = static_cast<char>(i * 13 + 1);
    std::ofstream(calibrationFile, std::ios::binary).write(calibrationBytes.data(), 4096);
    auto& m = f.start(EquipmentModel::OTDR);
    f.connect("Press F2 + F3 + ON/ OFF");
    f.h.dialogs.expectMessage("calibration file's path");
    f.h.dialogs.expectOpenFile(calibrationFile.string());
    m["chkGravComPagCalib"].setChecked(true);
    const std::string openError = "Error opening " + calibrationFile.string() + "!";
    if (calibration != Calibration::Present) {
      std::filesystem::remove(calibrationFile);
      f.h.dialogs.expectMessage(openError + "\nContinue without uploading the calibration?",
                                calibration == Calibration::MissingGoOn ? ui::Answer::Yes : ui::Answer::No);
    }
    f.h.dialogs.expectMessage(calibration == Calibration::MissingStop ? "Error while uploading the unit!"
                                                                      : "Operation complete.");
    f.upload();
    f.letUnitLook();
    f.expectIdleWindow();

    const auto memory = f.unit->memory();
    const auto log = f.h.log();
    EXPECT_EQ(std::count(log.begin(), log.end(), openError), calibration == Calibration::Present ? 0 : 1);
    if (calibration == Calibration::MissingStop) {
      EXPECT_TRUE(memory.images.empty());
      continue;
    }
    ASSERT_EQ(memory.images.size(), 1u);
    const auto& image = memory.images.begin()->second;
    ASSERT_GE(image.size(), 21480u);
    for (std::size_t i = 84; i < 4096; i += 401) {
      const std::uint8_t expected = calibration == Calibration::Present ? static_cast<std::uint8_t>(calibrationBytes[i])
                                                                        : unitsim::preservedAreaByte(i);
      EXPECT_EQ(image[i], expected) << i;
    }
    EXPECT_EQ(image[20480], 0x5A);
    EXPECT_NE(std::find(log.begin(), log.end(), "Opening programa_principal.bin..."), log.end());
  }
}

TEST(UsbUpload, AProgramTooLargeForTheImageIsRefused) {
  UsbFixture f;
  unitsim::UnitIdentity unit;
  unit.model = EquipmentModel::OPM;
  f.plugIn(unit);
  std::ofstream(f.pageSet() / "programa_principal.bin", std::ios::binary) << std::string(487425, '\x01');
  f.start(EquipmentModel::OPM);
  f.connect("Turn the unit on normaly");
  f.h.dialogs.expectMessage("ERRO!\n No space left on the device.");
  f.h.dialogs.expectMessage("Error while uploading the unit!");
  f.upload();
  f.letUnitLook();
  EXPECT_EQ(f.h.dialogs.shown().at(1).title, "Information");
  EXPECT_TRUE(f.unit->memory().images.empty());
  f.expectIdleWindow();
}

class UsbWait : public ::testing::Test {
 protected:
  // Connects an E1 unit with the fault and runs the upload; returns the virtual times at which
  // the unit took each record.
  std::vector<std::chrono::steady_clock::time_point> run(unitsim::UsbFault fault,
                                                         std::initializer_list<const char*> messages) {
    f.plugIn({}, fault);
    f.start();
    f.connect();
    for (const char* message : messages) f.h.dialogs.expectMessage(message);
    std::vector<std::chrono::steady_clock::time_point> taken;
    std::size_t seen = 0;
    f.h.clock.onSleep = [&] {
      f.unit->poll(f.h.clock.now());
      const auto events = f.unit->memory().events.size();
      if (events > seen) taken.push_back(f.h.clock.now());
      seen = events;
    };
    f.upload();
    return taken;
  }
  UsbFixture f;
};

TEST_F(UsbWait, ARecordTakenAtTheThirdPollLetsTheNextGoAfterOneAndAHalfSeconds) {
  // Seen at the first poll after it was written, taken a second later: at the third poll.
  const auto taken = run({unitsim::UsbFault::Kind::Late, 3, 1000ms}, {"Operation complete."});
  ASSERT_GE(taken.size(), 4u);
  EXPECT_EQ(taken[1] - taken[0], 1000ms);  // the usual: seen at one poll, taken at the next
  EXPECT_EQ(taken[2] - taken[1], 1500ms);  // the late third record
  EXPECT_EQ(taken[3] - taken[2], 1000ms);
}

TEST_F(UsbWait, AUnitThatNeverTakesARecordIsNotResponding) {
  const auto taken = run({unitsim::UsbFault::Kind::Never},
                         {"The unit is not responding, try again later.", "Error while uploading the unit!"});
  EXPECT_TRUE(taken.empty());
  EXPECT_EQ(f.h.clock.now() - std::chrono::steady_clock::time_point{}, 12000ms);  // 24 reads, 500 ms apart
  f.expectIdleWindow();
  EXPECT_FALSE(lastRecordTaken(f.unit->memory()));
}

TEST_F(UsbWait, AUnitThatVanishesIsACommunicationError) {
  run({unitsim::UsbFault::Kind::Vanish, 3},
      {"Comunication error!\nCheck your connection and try again.", "Error while uploading the unit!"});
  f.expectIdleWindow();
  EXPECT_EQ(f.unit->memory().events.size(), 3u);
}

TEST(UsbCancel, CancelDuringAnUploadAbortsOnceAndLeavesPageZeroAlone) {
  UsbFixture f;
  f.plugIn({}, {unitsim::UsbFault::Kind::Never});
  auto& m = f.start();
  f.connect();
  std::latch waiting(1);
  std::latch cancelled(1);
  std::atomic<int> sleeps{0};
  f.h.clock.onSleep = [&] {
    if (++sleeps == 5) {
      waiting.count_down();
      cancelled.wait();
    }
  };
  f.h.dialogs.expectMessage("Operation aborted!");
  m.startUploadThread();
  waiting.wait();
  ASSERT_TRUE(m["ButCancelar"].enabled());
  EXPECT_TRUE(m.form.shortCut(ui::Key::Escape, 0));  // ESC while "Cancelar" is enabled
  cancelled.count_down();
  m.uploadThread.join();

  f.expectIdleWindow();
  EXPECT_FALSE(m.form.shortCut(ui::Key::Escape, 0));  // nothing once "Cancelar" is disabled
  EXPECT_FALSE(m.connection.userCancelled);
  const auto shown = f.h.dialogs.shown();
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(), [](const auto& s) { return s.text == "Operation aborted!"; }), 1);
  const auto log = f.h.log();
  EXPECT_EQ(std::count(log.begin(), log.end(), "USB connection closed."), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Error while uploading the unit!\nCheck the connection and the files."), 0);
  f.letUnitLook();
  EXPECT_FALSE(lastRecordTaken(f.unit->memory()));
}

}  // namespace
}  // namespace kad
