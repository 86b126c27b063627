#include "unit_identity.h"

#include <gtest/gtest.h>

#include "unit_flash.h"

namespace kad::unitsim {
namespace {

UnitIdentity sampleE1() {
  UnitIdentity id;
  id.model = EquipmentModel::E1;
  id.familyCode = 202;
  id.revision = 3;
  id.hardwareType = "pf";
  id.client = "ACME";
  id.serial = "12.34.567";
  id.versions = "12-34-56";
  id.moduleWord = 0x1534;
  id.checkWords = {0x0102, 0x0304};
  id.calibrationWords = {0xCAFE, 0xBEEF};
  return id;
}

TEST(UnitExchangeFile, PageByPageLayoutPutsEachIdentityWordAtItsByte) {
  const auto words = buildPageZeroWords(sampleE1());
  const std::array<std::uint8_t, 8> header{0x00, 0x07, 0, 0x03, 0, 0xA5, 0x5A, 0x01};
  const auto file = pageRecordsExchangeFile(header, words);
  ASSERT_EQ(file.size(), 16u + 2 * kPageZeroWords);

  struct Case {
    std::size_t offset;
    std::uint8_t high, low;  // the word at `offset`, big-endian
    const char* what;
  };
  const Case cases[] = {
      {24, 0x00, 0xCA, "family code 202"},
      {26, 0x00, 0x03, "revision"},
      {44, 'f', 'p', "hardware type: first character in the low byte"},
      {156, 0, 'A', "client name, first character"},
      {162, 0, 'E', "client name, fourth character"},
      {164, 0, 0, "client name ends"},
      {188, 0, 0, "word 86 ends the name"},
      {190, 0, '1', "serial number"},
      {194, 0, '.', "serial number point"},
      {206, 0, '7', "serial number, last character"},
      {208, 0, 0, "word 96 ends the serial number"},
      {210, 0, 12, "16 minus the name length"},
      {212, 0, '1', "CPU version"},
      {218, 0, '3', "EQUIP version"},
      {224, 0, '5', "BATERIA version"},
      {240, 0xA0, 0x70, "module area word 112"},
      {288, 0xA0, 0x88, "module area word 136"},
      {290, 0x15, 0x34, "module word"},
      {324, 0x01, 0x02, "first check word"},
      {326, 0x03, 0x04, "second check word"},
      {384, 0xCA, 0xFE, "first calibration word"},
      {386, 0xBE, 0xEF, "second calibration word"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(file[c.offset], c.high) << c.what << " at " << c.offset;
    EXPECT_EQ(file[c.offset + 1], c.low) << c.what << " at " << c.offset + 1;
  }
  EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));
  // Length field of the 32,768 words, little-endian, then byte 12 = 6.
  EXPECT_EQ(file[8], 0x00);
  EXPECT_EQ(file[9], 0x00);
  EXPECT_EQ(file[10], 0x01);
  EXPECT_EQ(file[11], 0x00);
  EXPECT_EQ(file[12], 6);
}

TEST(UnitExchangeFile, LongClientNameIsCutAtSixteenAndLatin1) {
  auto id = sampleE1();
  id.client = "JOÃO DA SILVA TELECOM";
  const auto words = buildPageZeroWords(id);
  EXPECT_EQ(wordsText(words, word::kClientName, 16), latin1FromUtf8("JOÃO DA SILVA TE"));
  EXPECT_EQ(words[word::kClientName + 2], 0xC3);
  EXPECT_EQ(words[word::kClientName + 16], 0);
  EXPECT_EQ(words[word::kNameSpare], 0);
  EXPECT_EQ(latin1FromUtf8("a\xE6\x97\xA5z"), "a?z");
}

TEST(UnitExchangeFile, HardwareTypeWordAndText) {
  struct Case {
    std::uint16_t word;
    const char* text;
  };
  for (const auto& c : {Case{0x4241, "AB"}, Case{0x0041, "A"}, Case{0x4100, ""}, Case{0x0020, "???"},
                        Case{0x8B00, "???"}, Case{0x6370, "pc"}})
    EXPECT_EQ(hardwareTypeText(c.word), c.text) << std::hex << c.word;
  EXPECT_EQ(hardwareTypeWord("AB"), 0x4241);
  EXPECT_EQ(hardwareTypeWord("a"), 0x0061);
  EXPECT_EQ(hardwareTypeWord(""), 0x0000);

  auto id = sampleE1();
  id.hardwareWord = 0x8B00;
  EXPECT_EQ(buildPageZeroWords(id)[word::kHardwareType], 0x8B00);
}

TEST(UnitExchangeFile, RecordLengthField) {
  struct Case {
    std::size_t words;
    std::uint32_t length;
  };
  for (const auto& c : {Case{100, 4096}, Case{2040, 8192}, Case{2048, 4096}, Case{32768, 65536}, Case{2045, 8192}})
    EXPECT_EQ(recordLengthField(c.words), c.length) << c.words << " words";
}

TEST(UnitExchangeFile, ImageLayoutHasIdentityHeaderAndPreservedArea) {
  struct Case {
    EquipmentModel model;
    std::uint8_t modelByte;
    std::size_t size;
  };
  const Case cases[] = {
      {EquipmentModel::OPM, 2, 507904},     {EquipmentModel::OTDR, 3, 507904},
      {EquipmentModel::OTDR160, 5, 507904}, {EquipmentModel::OTDR170, 6, 507904},
      {EquipmentModel::MEGOMETRO, 4, 507904}, {EquipmentModel::CATV, 1, 507904},
      {EquipmentModel::CPU206, 1, 512000},
  };
  for (const auto& c : cases) {
    UnitIdentity id;
    id.model = c.model;
    id.serial = "12.34.567";
    id.client = "A VERY LONG CLIENT NAME";
    id.sliver = "s12";
    id.versions = "12-34-56";
    id.hardwareType = "c1";
    const auto file = imageExchangeFile(id);
    SCOPED_TRACE(std::string(modelName(c.model)));
    ASSERT_EQ(file.size(), c.size);
    EXPECT_EQ(file[35], c.modelByte);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 10), std::string("12.34.567\0", 10));
    EXPECT_EQ(std::string(file.begin() + 10, file.begin() + 24), std::string("A VERY LONG C\0", 14));
    EXPECT_EQ(std::string(file.begin() + 24, file.begin() + 28), std::string("s12\0", 4));
    EXPECT_EQ(std::string(file.begin() + 28, file.begin() + 32), std::string("34\0\0", 4));
    EXPECT_EQ(std::string(file.begin() + 32, file.begin() + 35), std::string("c1\0", 3));
    EXPECT_EQ(file[36], preservedAreaByte(36));
    EXPECT_EQ(file[20479], preservedAreaByte(20479));
    EXPECT_EQ(file[20480], 0xFF);
    EXPECT_EQ(file.back(), 0xFF);
  }
}

TEST(UnitExchangeFile, ModelNamesAndKinds) {
  EXPECT_EQ(modelFromName("e1"), EquipmentModel::E1);
  EXPECT_EQ(modelFromName("MEGOMETRO"), EquipmentModel::MEGOMETRO);
  EXPECT_EQ(modelFromName("E2"), std::nullopt);
  EXPECT_EQ(exchangeKind(EquipmentModel::TIMSK), ExchangeKind::PageRecords);
  EXPECT_EQ(exchangeKind(EquipmentModel::CATV), ExchangeKind::Image);
  EXPECT_EQ(exchangeKind(EquipmentModel::TP), std::nullopt);
  EXPECT_EQ(exchangeKind(static_cast<EquipmentModel>(40)), ExchangeKind::PageRecords);  // behaves as E1
  for (auto model : {EquipmentModel::E1, EquipmentModel::T1, EquipmentModel::TIM, EquipmentModel::TIMSK,
                     EquipmentModel::DSL2})
    EXPECT_NE(foreignFamilyCode(model), familyCodeOf(model));
  for (auto model : {EquipmentModel::OPM, EquipmentModel::OTDR, EquipmentModel::OTDR160, EquipmentModel::OTDR170,
                     EquipmentModel::CATV, EquipmentModel::MEGOMETRO})
    EXPECT_NE(foreignModelByte(model), modelByteOf(model));
}

}  // namespace
}  // namespace kad::unitsim
