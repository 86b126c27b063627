#include "unit_flash.h"

#include <gtest/gtest.h>

#include "record_maker.h"

namespace kad::unitsim {
namespace {

using test::makeRecord;
using test::patternWords;
using test::RecordFields;

// What the unit's file looks like after the uploader wrote `record` over it.
std::vector<std::uint8_t> fileWith(const Unit& unit, const std::vector<std::uint8_t>& record) {
  auto file = unit.exchangeFile();
  if (file.size() < record.size()) file.resize(record.size());
  std::copy(record.begin(), record.end(), file.begin());
  return file;
}

// Writes one record the way the uploader does (echoing what the unit last showed) and lets the
// unit take it.
void send(Unit& unit, RecordFields fields, const std::vector<std::uint16_t>& words) {
  fields.shown = unit.memory().header;
  unit.takeRecord(fileWith(unit, makeRecord(fields, words)));
}

TEST(UnitFlash, TwentyPageStyleUploadLandsByPageNumber) {
  UnitIdentity id;
  Unit unit(id);
  const auto ram = patternWords(300, 1);
  const auto page12 = patternWords(32768, 12);
  const auto page25 = patternWords(1000, 25);
  auto page0 = buildPageZeroWords(id);
  page0[word::kClientName] = 'Z';
  page0[word::kCalibration] = 0xFFFF;

  send(unit, {.first = true}, ram);
  send(unit, {.page = 1}, patternWords(4000, 1));
  send(unit, {.page = 12}, page12);
  send(unit, {.page = 25}, page25);
  send(unit, {.page = 0, .last = true}, std::vector<std::uint16_t>(page0.begin(), page0.begin() + 200));

  const auto& memory = unit.memory();
  ASSERT_EQ(memory.events.size(), 5u);
  const std::pair<EventKind, int> expected[] = {{EventKind::RamProgram, 0},
                                                {EventKind::Page, 1},
                                                {EventKind::Page, 12},
                                                {EventKind::SecondHalf, 25},
                                                {EventKind::Page, 0}};
  for (std::size_t i = 0; i < memory.events.size(); ++i) {
    EXPECT_EQ(memory.events[i].index, static_cast<int>(i) + 1);
    EXPECT_EQ(memory.events[i].kind, expected[i].first) << i;
    EXPECT_EQ(memory.events[i].page, expected[i].second) << i;
    EXPECT_TRUE(memory.events[i].echoOk) << i;
    EXPECT_TRUE(memory.events[i].formatOk) << i;
  }
  EXPECT_EQ(memory.events[3].halfOf, 12);
  EXPECT_TRUE(memory.events[4].lastRecord());
  EXPECT_TRUE(memory.finished);

  // The unit reads what the length field covers: 300 words round up to 2048.
  ASSERT_EQ(memory.ramProgram.size(), 2048u);
  EXPECT_TRUE(std::equal(ram.begin(), ram.end(), memory.ramProgram.begin()));
  const auto& flash12 = memory.flash.at(12);
  ASSERT_EQ(flash12.size(), 32768u + 2048u);
  EXPECT_TRUE(std::equal(page12.begin(), page12.end(), flash12.begin()));
  EXPECT_TRUE(std::equal(page25.begin(), page25.end(), flash12.begin() + 32768));
  EXPECT_EQ(memory.flash.count(25), 0u);

  const auto zero = memory.pageZero();
  EXPECT_EQ(zero[word::kClientName], 'Z');
  EXPECT_EQ(zero[word::kCalibration], 0xFFFF);
  EXPECT_EQ(memory.events[4].crc, crc32OfWords(std::span(zero).first(2048)));
  // The file the unit shows afterwards carries the new page 0.
  const auto file = unit.exchangeFile();
  EXPECT_EQ(file[pageZeroWordOffset(word::kClientName) + 1], 'Z');
  EXPECT_EQ(file[0], Unit::kTakenMark);
}

TEST(UnitFlash, HeaderBytesTheUnitWritesAfterEachRecord) {
  Unit unit(UnitIdentity{});
  const auto before = unit.memory().header;
  EXPECT_EQ(before[0], Unit::kTakenMark);
  EXPECT_NE(before[0], 0xF0);
  send(unit, {.first = true}, patternWords(10, 1));
  send(unit, {.page = 7}, patternWords(10, 7));
  const auto after = unit.memory().header;
  EXPECT_EQ(after[0], Unit::kTakenMark);
  EXPECT_EQ(after[1], 7);  // the page taken
  EXPECT_EQ(after[3], 2);  // records taken so far: a stale echo shows
  EXPECT_EQ(after[5], Unit::kStatusBytes[0]);
  EXPECT_EQ(after[7], Unit::kStatusBytes[2]);
}

TEST(UnitFlash, RecordsWithStaleOrMalformedHeadersAreMarked) {
  struct Case {
    const char* what;
    std::size_t byte;
    std::uint8_t value;
    bool echoOk, formatOk;
  };
  const Case cases[] = {
      {"stale byte 3", 3, 0x55, false, true},      {"changed status byte 6", 6, 0x00, false, true},
      {"first flag 2", 2, 2, true, false},          {"last flag 0", 4, 0, true, false},
      {"byte 12 not 6", 12, 5, true, false},        {"byte 15 not 0", 15, 1, true, false},
  };
  for (const auto& c : cases) {
    Unit unit(UnitIdentity{});
    send(unit, {.first = true}, patternWords(10, 1));
    auto record = makeRecord({.page = 3, .shown = unit.memory().header}, patternWords(10, 3));
    record[c.byte] = c.value;
    unit.takeRecord(fileWith(unit, record));
    EXPECT_EQ(unit.memory().events.back().echoOk, c.echoOk) << c.what;
    EXPECT_EQ(unit.memory().events.back().formatOk, c.formatOk) << c.what;
  }
}

TEST(UnitFlash, FirstRecordMustEchoByteOne) {
  Unit unit(UnitIdentity{});
  auto record = makeRecord({.first = true, .shown = unit.memory().header}, patternWords(10, 1));
  record[1] = 9;
  unit.takeRecord(fileWith(unit, record));
  EXPECT_FALSE(unit.memory().events.back().echoOk);
}

TEST(UnitFlash, ShortAndOversizedRecordsAreBounded) {
  Unit unit(UnitIdentity{});
  // A header alone, cut short: nothing stored, no read past the end.
  unit.takeRecord(std::vector<std::uint8_t>{0xF0, 4, 0});
  EXPECT_EQ(unit.memory().events.back().wordCount, 0u);
  EXPECT_FALSE(unit.memory().events.back().formatOk);

  // A length field beyond one page: the unit stops at 65,536 words.
  auto record = makeRecord({.page = 2, .shown = unit.memory().header}, patternWords(70000, 2));
  record[8] = 0x00, record[9] = 0x00, record[10] = 0x10, record[11] = 0x00;
  unit.takeRecord(record);
  EXPECT_EQ(unit.memory().flash.at(2).size(), kMaxPageWords);

  // A length field beyond the file: the words that are there.
  auto shortRecord = makeRecord({.page = 4, .shown = unit.memory().header}, patternWords(100, 4));
  unit.takeRecord(shortRecord);
  EXPECT_EQ(unit.memory().flash.at(4).size(), 100u);
}

TEST(UnitFlash, ImagesAreKeptWithTheirEventNumber) {
  UnitIdentity id;
  id.model = EquipmentModel::OTDR;
  Unit unit(id);
  EXPECT_TRUE(unit.memory().flash.empty());
  std::vector<std::uint8_t> bytes(507904, 0x5A);
  unit.storeImage("firmware.bin", bytes);
  ASSERT_EQ(unit.memory().events.size(), 1u);
  const auto& e = unit.memory().events[0];
  EXPECT_EQ(e.kind, EventKind::Image);
  EXPECT_EQ(e.byteCount, bytes.size());
  EXPECT_EQ(e.crc, crc32(bytes));
  EXPECT_EQ(unit.memory().images.at(1), bytes);
  EXPECT_TRUE(unit.memory().finished);
}

TEST(UnitFlash, Crc32MatchesTheStandardCheckValue) {
  const std::string text = "123456789";
  EXPECT_EQ(crc32(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())), 0xCBF43926u);
}

}  // namespace
}  // namespace kad::unitsim
