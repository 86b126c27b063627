#include "pagesets/personal_data.h"

#include <gtest/gtest.h>

#include <vector>

namespace kad {
namespace {

using enum EquipmentModel;

ClientFields acmeFields() {
  return {.clientName = "ACME", .serialNumber = "12.34.567", .cpuVersion = "2", .equipVersion = "10",
          .batteryVersion = "1"};
}

PersonalData unitData() {
  PersonalData data;
  for (std::size_t i = 0; i < 16; ++i) data.unitWords112To127[i] = static_cast<std::uint16_t>(0x0100 + i);
  for (std::size_t i = 0; i < 9; ++i) data.unitWords128To136[i] = static_cast<std::uint16_t>(0x0200 + i);
  data.calibrationWords = {0x1234, 0x5678};
  data.moduleWord = 0x0234;
  return data;
}

std::vector<std::uint16_t> words(const ClientBlock& block, std::size_t from, std::size_t to) {
  return {block.begin() + static_cast<std::ptrdiff_t>(from), block.begin() + static_cast<std::ptrdiff_t>(to) + 1};
}

TEST(ClientBlock, LaysOutNameSerialVersionsAndUnitWords) {
  const ClientBlock block = buildClientBlock(acmeFields(), unitData(), false);
  EXPECT_EQ(words(block, 0, 4), (std::vector<std::uint16_t>{65, 67, 77, 69, 0}));
  EXPECT_EQ(words(block, 5, 16), std::vector<std::uint16_t>(12, 0));
  EXPECT_EQ(words(block, 17, 26), (std::vector<std::uint16_t>{'1', '2', '.', '3', '4', '.', '5', '6', '7', 0}));
  EXPECT_EQ(block[27], 12);
  EXPECT_EQ(words(block, 28, 36), (std::vector<std::uint16_t>{'2', '-', '1', '0', '-', '1', 0, 0, 0}));
  EXPECT_EQ(block[41], 0);
  EXPECT_EQ(block[42], 0x0100);
  EXPECT_EQ(block[57], 0x010F);
  EXPECT_EQ(block[58], 0x0200);
  EXPECT_EQ(block[66], 0x0208);
  EXPECT_EQ(block[67], 0x0234);
}

TEST(ClientBlock, FieldsAreBoundedAndCharactersSignExtended) {
  ClientFields fields = acmeFields();
  fields.clientName = "JOS\xC3\x89 DA SILVA LTDA ME";  // "JOSÉ ..." in UTF-8, 21 characters
  fields.cpuVersion = "ABCD";
  fields.equipVersion = "\xE2\x82\xAC";  // the euro sign is not Latin-1
  const ClientBlock block = buildClientBlock(fields, unitData(), false);
  EXPECT_EQ(block[3], 0xFFC9);  // 'É' is 0xC9 in Latin-1
  EXPECT_EQ(block[14], 'L');
  EXPECT_EQ(block[15], 'T');
  EXPECT_EQ(block[16], 0);  // cut at 16 characters, then the zero
  EXPECT_EQ(block[27], 0);
  EXPECT_EQ(words(block, 28, 34), (std::vector<std::uint16_t>{'A', 'B', 'C', '-', '?', '-', '1'}));
}

TEST(ClientBlock, ErasingTheCalibrationFillsTheUnitCalibrationWords) {
  const ClientBlock block = buildClientBlock(acmeFields(), unitData(), true);
  EXPECT_EQ(words(block, 58, 66), std::vector<std::uint16_t>(9, 0xFFFF));
  EXPECT_EQ(block[57], 0x010F);
  EXPECT_EQ(block[67], 0x0234);

  PersonalData data = unitData();
  applyCalibrationErase(data, calibrationToBeErased(true, false));
  EXPECT_EQ(data.calibrationWords, (CalibrationWords{0xFFFF, 0xFFFF}));
  // Once erased the words stay erased for the connection.
  applyCalibrationErase(data, calibrationToBeErased(false, false));
  EXPECT_EQ(data.calibrationWords, (CalibrationWords{0xFFFF, 0xFFFF}));

  PersonalData kept = unitData();
  applyCalibrationErase(kept, calibrationToBeErased(false, false));
  EXPECT_EQ(kept.calibrationWords, (CalibrationWords{0x1234, 0x5678}));
  EXPECT_TRUE(calibrationToBeErased(false, true));
}

TEST(UnitText, Latin1AndSignExtension) {
  EXPECT_EQ(signExtendedCharacter('A'), 0x0041);
  EXPECT_EQ(signExtendedCharacter(0x80), 0xFF80);
  EXPECT_EQ(signExtendedCharacter(0xFF), 0xFFFF);
  EXPECT_EQ(latin1FromUtf8("a\xC3\xA7\xC3\xA3o"), "a\xE7\xE3o");
  EXPECT_EQ(utf8FromLatin1("a\xE7\xE3o"), "a\xC3\xA7\xC3\xA3o");
  EXPECT_EQ(latin1FromUtf8("\xF0\x9F\x98\x80!"), "?!");  // outside Latin-1
  EXPECT_EQ(latin1FromUtf8("\xC3"), "?");                // cut short
  EXPECT_EQ(latin1FromUtf8("\x80x"), "?x");              // stray continuation byte
}

TEST(ModuleWord, SelectedModulesFillTheSlotsFromSlotOne) {
  struct Case {
    ModuleSlots reported;
    std::vector<int> selected;
    ModuleSlots slots;
    std::uint16_t word;
  };
  const Case cases[] = {
      {{0, 2, 3, 4}, {1, 5}, {1, 5, 3, 4}, 0x1534},
      {{0, 2, 3, 4}, {}, {0, 2, 3, 4}, 0x0234},
      {{7, 7, 7, 7}, {0, 3, 6, 7}, {0, 3, 6, 7}, 0x0367},
      {{0, 0, 0, 0}, {1, 2, 3, 4, 5}, {1, 2, 3, 4}, 0x1234},  // a fifth selection has no slot
  };
  for (const auto& c : cases) {
    PersonalData data;
    data.moduleSlots = c.reported;
    ModuleSelection selection{};
    for (const int index : c.selected) selection[static_cast<std::size_t>(index)] = true;
    buildModuleWord(data, selection);
    EXPECT_EQ(data.moduleSlots, c.slots);
    EXPECT_EQ(data.moduleWord, c.word);
  }
  EXPECT_EQ(packModuleSlots({15, 15, 15, 15}), 0xFFFF);
}

TEST(EthernetAddress, FromTheSerialNumber) {
  struct Case {
    EquipmentModel model;
    const char* serial;
    std::uint16_t word;
  };
  const Case cases[] = {
      {E1, "12.34.567", 0x8E28},
      {T1, "12.34.567", 0x8E28},
      {DSL2, "12.34.567", 0x81D7},
      {DSL2, "00.09.999", 0x8000 + (9999 & 0xFFF)},
      {E1, "  .  .   ", 0x8000},
      {DSL2, "12.3 .567", 0x8000},  // blanks among the digits read no number
      {E1, "", 0x8000},
      {TIM, "12.34.567", 0x4242},  // other models keep the word
      {OTDR, "", 0x4242},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serial);
    EXPECT_EQ(buildEthernetAddress(c.model, c.serial, 0x4242), c.word);
  }
}

TEST(PersonalDataOverlay, PageZeroAndPageFifteen) {
  const ClientBlock block = buildClientBlock(acmeFields(), unitData(), false);
  std::vector<std::uint16_t> page0(300, 0x7777);
  layPersonalDataIntoPageZero(page0, block, {0xAAAA, 0xBBBB});
  EXPECT_EQ(page0[69], 0x7777);
  EXPECT_EQ(page0[70], 'A');
  EXPECT_EQ(page0[137], block[67]);
  EXPECT_EQ(page0[138], 0x7777);
  EXPECT_EQ(page0[184], 0xAAAA);
  EXPECT_EQ(page0[185], 0xBBBB);
  EXPECT_EQ(page0[186], 0x7777);

  std::vector<std::uint16_t> shortPage(100, 1);
  layPersonalDataIntoPageZero(shortPage, block, {0xAAAA, 0xBBBB});
  EXPECT_EQ(shortPage.size(), 100u);
  EXPECT_EQ(shortPage[99], block[29]);

  std::vector<std::uint16_t> page15(20, 0);
  layModuleWordIntoPageFifteen(page15, 0x1534);
  EXPECT_EQ(page15[16], 0x1534);
  std::vector<std::uint16_t> tiny(16, 0);
  layModuleWordIntoPageFifteen(tiny, 0x1534);
  EXPECT_EQ(tiny, std::vector<std::uint16_t>(16, 0));
}

}  // namespace
}  // namespace kad
