#include "usb_drive.h"

#include <gtest/gtest.h>

#include <thread>

#include "record_maker.h"
#include "support/temp_dir.h"
#include "unit_state.h"

namespace kad::unitsim {
namespace {

using namespace std::chrono_literals;
using test::firstEight;
using test::makeRecord;
using test::patternWords;
using test::readAll;
using test::writeRecord;
using Clock = std::chrono::steady_clock;

class UsbDrive : public ::testing::Test {
 protected:
  std::filesystem::path drive() const { return dir_.path() / "unit"; }
  std::filesystem::path exchange() const { return drive() / "firmware.bin"; }

  UsbDriveUnit& plugIn(UnitIdentity identity = {}, UsbFault fault = {}) {
    UsbUnitOptions options;
    options.drive = drive();
    options.identity = identity;
    options.fault = fault;
    options.stateFile = dir_.path() / "state";
    unit_ = std::make_unique<UsbDriveUnit>(options);
    std::string error;
    EXPECT_TRUE(unit_->plugIn(error)) << error;
    return *unit_;
  }

  // The uploader's side: a record echoing the header as it reads it now.
  void writePage(int page, bool first = false, bool last = false) {
    writeRecord(exchange(), makeRecord({.page = page, .first = first, .last = last, .shown = firstEight(exchange())},
                                       patternWords(100, static_cast<std::uint16_t>(page))));
  }

  // Polls at 50 ms steps of virtual time from `from` for `duration`; returns the time reached.
  Clock::time_point pollFor(Clock::time_point from, std::chrono::milliseconds duration) {
    auto now = from;
    for (; now <= from + duration; now += 50ms) unit_->poll(now);
    return now;
  }

  kad::test::TempDir dir_;
  std::unique_ptr<UsbDriveUnit> unit_;
};

TEST_F(UsbDrive, PlugInShowsTheExchangeFile) {
  plugIn();
  EXPECT_EQ(std::filesystem::file_size(exchange()), 16u + 2 * kPageZeroWords);
  EXPECT_FALSE(std::filesystem::exists(drive() / "line-up.csv"));
  EXPECT_NE(readAll(exchange())[0], 0xF0);
  const auto saved = loadState(dir_.path() / "state");
  ASSERT_TRUE(saved);
  EXPECT_TRUE(saved->events.empty());
}

TEST_F(UsbDrive, CatvWithLineupHoldsBothFiles) {
  UnitIdentity id;
  id.model = EquipmentModel::CATV;
  id.lineup = true;
  plugIn(id);
  EXPECT_EQ(std::filesystem::file_size(exchange()), image::kOffsetModelSize);
  EXPECT_TRUE(std::filesystem::exists(drive() / "line-up.csv"));
}

TEST_F(UsbDrive, RefusedConfigurations) {
  struct Case {
    EquipmentModel model;
    UsbFault::Kind fault;
    bool lineup;
  };
  const Case cases[] = {{EquipmentModel::TP, UsbFault::Kind::None, false},
                        {EquipmentModel::OTDR, UsbFault::Kind::WrongFamily, false},
                        {EquipmentModel::E1, UsbFault::Kind::WrongModel, false},
                        {EquipmentModel::E1, UsbFault::Kind::None, true}};
  for (const auto& c : cases) {
    UsbUnitOptions options;
    options.drive = drive();
    options.identity.model = c.model;
    options.identity.lineup = c.lineup;
    options.fault.kind = c.fault;
    UsbDriveUnit unit(options);
    std::string error;
    EXPECT_FALSE(unit.plugIn(error)) << modelName(c.model);
    EXPECT_FALSE(error.empty());
  }
}

TEST_F(UsbDrive, WrongModelAndWrongFamilyShowInTheFile) {
  UnitIdentity otdr;
  otdr.model = EquipmentModel::OTDR160;
  plugIn(otdr, {.kind = UsbFault::Kind::WrongModel});
  EXPECT_EQ(readAll(exchange())[image::kModelByte], foreignModelByte(EquipmentModel::OTDR160));

  UnitIdentity t1;
  t1.model = EquipmentModel::T1;
  plugIn(t1, {.kind = UsbFault::Kind::WrongFamily});
  const auto file = readAll(exchange());
  EXPECT_EQ(file[24] << 8 | file[25], foreignFamilyCode(EquipmentModel::T1));
}

TEST_F(UsbDrive, TakesARecordOnceTheFileHasSettled) {
  plugIn();
  const auto t0 = Clock::now();
  unit_->poll(t0);
  writePage(0, /*first=*/true);
  unit_->poll(t0 + 50ms);
  EXPECT_EQ(readAll(exchange())[0], 0xF0) << "taken before the file settled";
  unit_->poll(t0 + 100ms);
  const auto header = firstEight(exchange());
  EXPECT_EQ(header[0], Unit::kTakenMark);
  EXPECT_EQ(header[3], 1);
  const auto memory = unit_->memory();
  ASSERT_EQ(memory.events.size(), 1u);
  EXPECT_EQ(memory.events[0].kind, EventKind::RamProgram);
  EXPECT_TRUE(memory.events[0].echoOk);
  // Nothing else is taken while byte 0 is not 0xF0.
  pollFor(t0 + 150ms, 500ms);
  EXPECT_EQ(unit_->memory().events.size(), 1u);
}

TEST_F(UsbDrive, LastRecordLeavesTheNewPageZeroOnTheDrive) {
  plugIn();
  auto t = Clock::now();
  writePage(0, true);
  t = pollFor(t, 100ms);
  auto page0 = buildPageZeroWords(UnitIdentity{});
  page0[word::kModuleWord] = 0x0123;
  writeRecord(exchange(), makeRecord({.page = 0, .last = true, .shown = firstEight(exchange())},
                                     std::vector<std::uint16_t>(page0.begin(), page0.begin() + 300)));
  pollFor(t, 100ms);
  EXPECT_TRUE(unit_->finished());
  const auto file = readAll(exchange());
  ASSERT_EQ(file.size(), 16u + 2 * kPageZeroWords);
  EXPECT_EQ(file[0], Unit::kTakenMark);
  EXPECT_EQ(file[290] << 8 | file[291], 0x0123);
}

TEST_F(UsbDrive, FaultsOnRecords) {
  struct Case {
    const char* fault;
    int recordsWritten;
    std::chrono::milliseconds pollTime;  // after the last record was written
    std::size_t taken;
    bool lastStillWaiting;
    bool vanished;
  };
  const Case cases[] = {
      {"never", 1, 3000ms, 0, true, false},
      {"late:2", 2, 1000ms, 1, true, false},
      {"late:2", 2, 1400ms, 2, false, false},
      {"late:2:300", 2, 400ms, 2, false, false},
      {"vanish:2", 2, 200ms, 2, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    std::filesystem::remove_all(drive());
    plugIn({}, *parseUsbFault(c.fault));
    auto t = Clock::now();
    for (int r = 0; r < c.recordsWritten; ++r) {
      if (r > 0) t = pollFor(t, 150ms);
      writePage(r + 1, r == 0);
    }
    pollFor(t, c.pollTime);
    EXPECT_EQ(unit_->memory().events.size(), c.taken);
    EXPECT_EQ(unit_->vanished(), c.vanished);
    EXPECT_EQ(std::filesystem::exists(drive()), !c.vanished);
    if (!c.vanished) {
      EXPECT_EQ(readAll(exchange())[0] == 0xF0, c.lastStillWaiting);
    }
  }
}

TEST_F(UsbDrive, ImageWritesAreStoredEachTime) {
  UnitIdentity id;
  id.model = EquipmentModel::OTDR;
  plugIn(id);
  auto t = pollFor(Clock::now(), 200ms);
  EXPECT_TRUE(unit_->memory().events.empty()) << "the unit's own file is no image";

  std::vector<std::uint8_t> image(image::kOffsetModelSize, 0x11);
  std::ofstream(exchange(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  t = pollFor(t, 150ms);
  ASSERT_EQ(unit_->memory().events.size(), 1u);
  EXPECT_EQ(unit_->memory().images.at(1), image);

  // The same bytes written again are a second image.
  std::ofstream(exchange(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  pollFor(t, 150ms);
  EXPECT_EQ(unit_->memory().events.size(), 2u);
}

TEST_F(UsbDrive, LineupImageIsStoredUnderItsName) {
  UnitIdentity id;
  id.model = EquipmentModel::CATV;
  id.lineup = true;
  plugIn(id);
  std::vector<std::uint8_t> lineup(image::kLineupSize, 0xFF);
  std::ofstream(drive() / "line-up.csv", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(lineup.data()), static_cast<std::streamsize>(lineup.size()));
  pollFor(Clock::now(), 150ms);
  const auto memory = unit_->memory();
  ASSERT_EQ(memory.events.size(), 1u);
  EXPECT_EQ(memory.events[0].file, "line-up.csv");
  EXPECT_EQ(memory.events[0].byteCount, image::kLineupSize);
}

TEST_F(UsbDrive, StateFileRoundTripsWhatTheUnitHolds) {
  plugIn();
  auto t = Clock::now();
  writePage(0, true);
  t = pollFor(t, 100ms);
  for (int page : {12, 25, 15}) {
    writePage(page);
    t = pollFor(t, 100ms);
  }
  const auto live = unit_->memory();
  const auto saved = loadState(dir_.path() / "state");
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->events.size(), 4u);
  for (std::size_t i = 0; i < live.events.size(); ++i) {
    EXPECT_EQ(saved->events[i].kind, live.events[i].kind);
    EXPECT_EQ(saved->events[i].header, live.events[i].header);
    EXPECT_EQ(saved->events[i].crc, live.events[i].crc);
    EXPECT_EQ(saved->events[i].halfOf, live.events[i].halfOf);
  }
  EXPECT_EQ(saved->flash, live.flash);
  EXPECT_EQ(saved->ramProgram, live.ramProgram);
  EXPECT_EQ(saved->header, live.header);
  const auto text = describeMemory(*saved);
  EXPECT_NE(text.find("page 25 (second half of page 12)"), std::string::npos) << text;
  EXPECT_NE(text.find("client \"ACME TEL\""), std::string::npos) << text;
}

TEST_F(UsbDrive, UnreadableStatesAreRefused) {
  const auto state = dir_.path() / "bad";
  EXPECT_FALSE(loadState(state));
  for (const char* text : {"not a state\n", "kad-unitsim-state 1\nmodel NOPE\n",
                           "kad-unitsim-state 1\nevent 1 page page x\n",
                           "kad-unitsim-state 1\nevent 1 page page 1 half-of -1 raw f0010000ffa55a010010000006ffff00 "
                           "words 0 file - bytes 0 crc 0xzz echo 1 format 1\n", "kad-unitsim-state 1\nflash 3 100\n"}) {
    std::ofstream(state) << text;
    EXPECT_FALSE(loadState(state)) << text;
  }
}

TEST_F(UsbDrive, BackgroundThreadTakesRecordsInRealTime) {
  plugIn();
  unit_->start();
  writePage(0, true);
  const auto deadline = Clock::now() + 3s;
  while (readAll(exchange())[0] == 0xF0 && Clock::now() < deadline) std::this_thread::sleep_for(20ms);
  unit_->stop();
  EXPECT_EQ(unit_->memory().events.size(), 1u);
}

}  // namespace
}  // namespace kad::unitsim
