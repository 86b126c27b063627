#include "pagesets/usb_exchange.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "support/temp_dir.h"

namespace kad {
namespace {

using enum EquipmentModel;
using Bytes = std::vector<std::uint8_t>;

TEST(PageRecord, LengthField) {
  struct Case {
    std::size_t words;
    std::uint32_t length;
  };
  const Case cases[] = {{100, 4096}, {2040, 8192}, {2048, 4096}, {32768, 65536}, {0, 0}, {2041, 8192}, {65536, 131072}};
  for (const auto& c : cases) EXPECT_EQ(recordLengthField(c.words), c.length) << c.words << " words";
}

TEST(PageRecord, TimeStampHalves) {
  EXPECT_EQ(firstRecordTimeStampHalf(0x65E6F2AF, true), 0xF2AF);
  EXPECT_EQ(firstRecordTimeStampHalf(0x65E6F2AF, false), 0xFFFF);
  EXPECT_EQ(laterRecordTimeStampHalf(0x65E6F2AF), 0x65E6);
}

TEST(PageRecord, HeaderBytesOfFirstLaterAndLastRecords) {
  RecordHeader header;
  header.unitHeader = {0xF1, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27};
  header.pageNumber = 7;
  header.timeStampHalf = 0x65E6;
  const std::vector<std::uint16_t> words(2040, 0xA1B2);

  const Bytes later = buildPageRecord(header, "page7.tag", words, {});
  ASSERT_EQ(later.size(), 16u + 4080u);
  EXPECT_EQ(Bytes(later.begin(), later.begin() + 16),
            (Bytes{0xF0, 7, 0, 0x23, 0xFF, 0x25, 0x26, 0x27, 0x00, 0x20, 0x00, 0x00, 6, 0xE6, 0x65, 0}));
  EXPECT_EQ(later[16], 0xA1);
  EXPECT_EQ(later[17], 0xB2);

  header.firstRecord = true;
  header.timeStampHalf = 0xF2AF;
  const Bytes first = buildPageRecord(header, "user.tag", {0x0102}, {});
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 8), (Bytes{0xF0, 0x21, 1, 0x23, 0xFF, 0x25, 0x26, 0x27}));
  EXPECT_EQ(first[13], 0xAF);
  EXPECT_EQ(first[14], 0xF2);

  header.firstRecord = false;
  header.lastRecord = true;
  header.pageNumber = 0;
  const Bytes last = buildPageRecord(header, "page0.tag", {0x0102}, {});
  EXPECT_EQ(last[1], 0);
  EXPECT_EQ(last[2], 0);
  EXPECT_EQ(last[4], 1);
}

TEST(PageRecord, HalfPageOfWords) {
  const Bytes record = buildPageRecord({}, "page3.tag", std::vector<std::uint16_t>(32768, 0x1234), {});
  EXPECT_EQ(record.size(), 65552u);
  EXPECT_EQ(Bytes(record.begin() + 8, record.begin() + 12), (Bytes{0x00, 0x00, 0x01, 0x00}));
}

TEST(PageRecord, PersonalDataInPageZeroAndFifteen) {
  RecordPersonalData personal;
  for (std::size_t i = 0; i < personal.clientBlock.size(); ++i) {
    personal.clientBlock[i] = static_cast<std::uint16_t>(0xC000 + i);
  }
  personal.calibrationWords = {0xFFFF, 0xFFFF};
  personal.moduleWord = 0x1534;
  const std::vector<std::uint16_t> page(400, 0x0101);

  const Bytes zero = buildPageRecord({}, "page0.tag", page, personal);
  EXPECT_EQ(zero[154], 0x01);  // word 69 untouched
  EXPECT_EQ(zero[156], 0xC0);  // word 70, big-endian
  EXPECT_EQ(zero[157], 0x00);
  EXPECT_EQ(zero[290], 0xC0);  // word 137
  EXPECT_EQ(zero[291], 67);
  EXPECT_EQ(zero[292], 0x01);  // word 138 untouched
  EXPECT_EQ(Bytes(zero.begin() + 384, zero.begin() + 388), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(zero[16 + 2 * 16], 0x01);  // word 16 is only replaced in page 15

  const Bytes fifteen = buildPageRecord({}, "page15.tag", page, personal);
  EXPECT_EQ(fifteen[48], 0x15);
  EXPECT_EQ(fifteen[49], 0x34);
  EXPECT_EQ(fifteen[156], 0x01);

  const Bytes other = buildPageRecord({}, "page5.tag", page, personal);
  EXPECT_EQ(Bytes(other.begin() + 16, other.end()), Bytes(800, 0x01));
}

Bytes readAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

TEST(PageRecord, WrittenOverTheStartOfTheExistingFile) {
  test::TempDir dir;
  const auto exchange = dir.path() / "firmware.bin";
  std::ofstream(exchange, std::ios::binary) << std::string(100, 'x');
  EXPECT_TRUE(writePageRecord(exchange, Bytes{1, 2, 3}));
  const Bytes content = readAll(exchange);
  ASSERT_EQ(content.size(), 100u);
  EXPECT_EQ(Bytes(content.begin(), content.begin() + 4), (Bytes{1, 2, 3, 'x'}));

  EXPECT_FALSE(writePageRecord(dir.path() / "gone.bin", Bytes{1}));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "gone.bin"));
}

TEST(ExchangeFile, LineupOnlyForTheCatvLineupUpdate) {
  EXPECT_EQ(exchangeFileName(CATV, true), "line-up.csv");
  EXPECT_EQ(exchangeFileName(CATV, false), "firmware.bin");
  EXPECT_EQ(exchangeFileName(OTDR, true), "firmware.bin");
}

TEST(ProgramImage, LayoutPerModel) {
  struct Case {
    EquipmentModel model;
    bool lineup;
    std::size_t size, offset;
  };
  const Case cases[] = {
      {CATV, true, 8192, 0},          {OPM, false, 507904, 20480},   {OTDR160, false, 507904, 20480},
      {CATV, false, 507904, 20480},   {MEGOMETRO, true, 507904, 20480}, {CPU206, false, 512000, 0},
      {E1, false, 512000, 0},
  };
  for (const auto& c : cases) {
    const ProgramImageLayout layout = programImageLayout(c.model, c.lineup);
    EXPECT_EQ(layout.size, c.size) << static_cast<int>(c.model);
    EXPECT_EQ(layout.programOffset, c.offset) << static_cast<int>(c.model);
  }
}

TEST(ProgramImage, OtdrProgramFitsUpToTheLastByte) {
  const Bytes fits(487424, 0x5A);
  const auto image = assembleProgramImage({.model = OTDR, .program = fits});
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), 507904u);
  EXPECT_EQ((*image)[20479], 0xFF);
  EXPECT_EQ((*image)[20480], 0x5A);
  EXPECT_EQ(image->back(), 0x5A);

  const Bytes tooBig(487425, 0x5A);
  EXPECT_FALSE(assembleProgramImage({.model = OTDR, .program = tooBig}));
  // The same limit holds when the file goes at 0.
  EXPECT_FALSE(assembleProgramImage({.model = OTDR, .selectModulesTicked = true, .program = tooBig}));
}

TEST(ProgramImage, SourcesLargerThanTheBufferAreRefused) {
  EXPECT_TRUE(assembleProgramImage({.model = CPU206, .program = Bytes(512000, 1)}));
  EXPECT_FALSE(assembleProgramImage({.model = CPU206, .program = Bytes(512001, 1)}));
  EXPECT_TRUE(assembleProgramImage({.model = CATV, .selectModulesTicked = true, .program = Bytes(8192, 1)}));
  EXPECT_FALSE(assembleProgramImage({.model = CATV, .selectModulesTicked = true, .program = Bytes(8193, 1)}));
}

TEST(ProgramImage, LineupImageIs8192BytesWithTheFileAtZero) {
  const Bytes preserved(20480, 0x11);
  const auto image = assembleProgramImage(
      {.model = CATV, .selectModulesTicked = true, .preservedArea = preserved, .program = Bytes(100, 0x22)});
  ASSERT_TRUE(image);
  ASSERT_EQ(image->size(), 8192u);
  EXPECT_EQ((*image)[0], 0x22);
  EXPECT_EQ((*image)[99], 0x22);
  EXPECT_EQ((*image)[100], 0x11);  // as much of the preserved area as fits
  EXPECT_EQ(image->back(), 0x11);
}

TEST(ProgramImage, PreservedAreaIdentityHeaderAndCalibrationByProfile) {
  Bytes preserved(20480);
  for (std::size_t i = 0; i < preserved.size(); ++i) preserved[i] = static_cast<std::uint8_t>(i % 251);
  Bytes calibration(5000);
  for (std::size_t i = 0; i < calibration.size(); ++i) calibration[i] = static_cast<std::uint8_t>(0x80 + i % 7);
  const IdentityFields identity{.serialNumber = "12.34.567", .clientName = "CLIENTE MUITO LONGO",
                                .sliver = "S12345", .equip = "E9", .hardwareType = "pc"};
  const Bytes program(10, 0x33);
  ProgramImageInputs inputs{.model = OPM, .profile = ProfileClient, .preservedArea = preserved,
                            .identity = identity, .program = program};

  const auto client = assembleProgramImage(inputs);
  ASSERT_TRUE(client);
  EXPECT_TRUE(std::equal(preserved.begin(), preserved.end(), client->begin()));

  inputs.profile = ProfileNeb;
  const auto neb = assembleProgramImage(inputs);
  EXPECT_EQ((*neb)[0], 0xFF);
  EXPECT_EQ((*neb)[20479], 0xFF);

  inputs.profile = ProfileRG;
  inputs.calibrationFile = calibration;
  const auto rg = assembleProgramImage(inputs);
  const auto header = buildIdentityHeader(identity, OPM);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), rg->begin()));
  EXPECT_EQ((*rg)[36], preserved[36]);
  EXPECT_EQ((*rg)[83], preserved[83]);
  EXPECT_EQ((*rg)[84], calibration[84]);
  EXPECT_EQ((*rg)[4095], calibration[4095]);
  EXPECT_EQ((*rg)[4096], preserved[4096]);
  EXPECT_EQ((*rg)[20480], 0x33);

  // RG writes the identity header only for the OPM; MEGOHM calibration goes to 4096.
  inputs.model = MEGOMETRO;
  const auto meg = assembleProgramImage(inputs);
  EXPECT_EQ((*meg)[0], preserved[0]);
  EXPECT_EQ((*meg)[4095], preserved[4095]);
  EXPECT_EQ((*meg)[4096], calibration[0]);
  EXPECT_EQ((*meg)[4096 + 4999], calibration[4999]);  // a short file copies what it has
  EXPECT_EQ((*meg)[4096 + 5000], preserved[4096 + 5000]);
}

TEST(ProgramImage, IdentityHeaderFields) {
  const auto header = buildIdentityHeader({.serialNumber = "12.34.567", .clientName = "A\xC3\x87O PARAN\xC3\x81 LTDA",
                                           .sliver = "S12345", .equip = "E9", .hardwareType = "pc"},
                                          OTDR160);
  EXPECT_EQ(std::string(header.begin(), header.begin() + 10), std::string("12.34.567\0", 10));
  EXPECT_EQ(std::string(header.begin() + 10, header.begin() + 24), std::string("A\xC7O PARAN\xC1 LT\0", 14));
  EXPECT_EQ(std::string(header.begin() + 24, header.begin() + 28), std::string("S12\0", 4));
  EXPECT_EQ(std::string(header.begin() + 28, header.begin() + 32), std::string("E9\0\0", 4));
  EXPECT_EQ(std::string(header.begin() + 32, header.begin() + 35), std::string("pc\0", 3));
  EXPECT_EQ(header[35], 5);
  EXPECT_EQ(buildIdentityHeader({}, OPM)[35], 2);
  EXPECT_EQ(buildIdentityHeader({}, OTDR)[35], 3);
  EXPECT_EQ(buildIdentityHeader({}, OTDR170)[35], 6);
  EXPECT_EQ(buildIdentityHeader({}, MEGOMETRO)[35], 4);
  EXPECT_EQ(buildIdentityHeader({}, CATV)[35], 1);
}

TEST(ProgramImage, WrittenAsTheWholeFile) {
  test::TempDir dir;
  const auto exchange = dir.path() / "firmware.bin";
  std::ofstream(exchange, std::ios::binary) << std::string(600000, 'x');
  const Bytes image(8192, 0x42);
  EXPECT_TRUE(writeProgramImage(exchange, image));
  EXPECT_EQ(readAll(exchange), image);
  EXPECT_FALSE(writeProgramImage(dir.path() / "no-such-folder" / "firmware.bin", image));
}

}  // namespace
}  // namespace kad
