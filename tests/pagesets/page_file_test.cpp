#include "pagesets/page_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kad {
namespace {

using Words = std::vector<std::uint16_t>;

// A header record: start tag and program identifier, load address 0x8000, then words.
constexpr const char* kHeaderPrefix = "K0000PAGE0TAG98000B";

std::string recordWords(const Words& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    char word[6];
    std::snprintf(word, sizeof word, "%04X", words[i]);
    text += word;
    text += i + 1 == words.size() ? "7" : "B";
  }
  return text + "F00F";  // checksum and end tag, never read
}

// A page file of one header record and data records.
std::string tagFile(const Words& header, const std::vector<Words>& records) {
  std::string text = kHeaderPrefix + recordWords(header) + "\n";
  for (const Words& record : records) text += "B" + recordWords(record) + "\n";
  return text + ":\n";
}

TEST(PageFileParser, ReadsHeaderAndRecordsInFileOrder) {
  const auto result = parsePageText(tagFile({0x0001, 0x0002}, {{0xABCD, 0x1234, 0xFFFF}, {0x0000}}));
  ASSERT_TRUE(result.page) << describePageFileFault(result.fault);
  EXPECT_EQ(result.page->words, (Words{0x0001, 0x0002, 0xABCD, 0x1234, 0xFFFF, 0x0000}));
  EXPECT_EQ(result.page->headerLoadAddress, 0x8000);
  EXPECT_EQ(result.page->recordCount, 3u);
}

struct GoodFileCase {
  const char* name;
  std::string text;
  Words words;
  std::size_t records;
};

TEST(PageFileParser, TokenRules) {
  const std::vector<GoodFileCase> cases = {
      // The '7' right after the header's first word ends that record.
      {"header word then 7", std::string(kHeaderPrefix) + "12347B5678F\n:", {0x1234}, 1},
      {"C token followed by end token ends the file",
       std::string(kHeaderPrefix) + "00017F\nC\n:\nB22227F\n:", {0x0001}, 1},
      {"C token skips only itself; the next C token is a record",
       std::string(kHeaderPrefix) + "00017F C CABCD7F :", {0x0001, 0xABCD}, 2},
      {"C token takes the place of one record", std::string(kHeaderPrefix) + "00017F C B00027F :", {0x0001, 0x0002}, 2},
      {"nothing after the end token is read", std::string(kHeaderPrefix) + "00017F :junk B00027F zzz", {0x0001}, 1},
      {"tabs and carriage returns separate tokens", std::string(kHeaderPrefix) + "00017F\r\n\tB00027F\r\n:\r\n",
       {0x0001, 0x0002}, 2},
      {"lower-case hex digits", std::string(kHeaderPrefix) + "abcd7F :", {0xABCD}, 1},
      {"a 99-character token is a record",
       std::string(kHeaderPrefix) + "00017F B" + recordWords(Words(19, 0)).substr(0, 98) + " :",
       [] {
         Words w{0x0001};
         w.insert(w.end(), 19, 0x0000);
         return w;
       }(),
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = parsePageText(c.text);
    ASSERT_TRUE(result.page) << describePageFileFault(result.fault);
    EXPECT_EQ(result.page->words, c.words);
    EXPECT_EQ(result.page->recordCount, c.records);
  }
}

std::string bigRecordFile(std::size_t records, std::size_t wordsPerRecord) {
  std::string text = std::string(kHeaderPrefix) + recordWords(Words(wordsPerRecord, 0x1111)) + "\n";
  for (std::size_t r = 1; r < records; ++r) text += "B" + recordWords(Words(wordsPerRecord, 0x2222)) + "\n";
  return text + ":\n";
}

TEST(PageFileParser, HoldsAFullPageOfWords) {
  const auto result = parsePageText(bigRecordFile(65536 / 8, 8));
  ASSERT_TRUE(result.page) << describePageFileFault(result.fault);
  EXPECT_EQ(result.page->words.size(), kMaxPageWords);
  EXPECT_EQ(result.page->words.back(), 0x2222);
}

struct MalformedCase {
  const char* name;
  std::string text;
  PageFileFault fault;
};

TEST(PageFileParser, RefusesMalformedFiles) {
  const std::string header = std::string(kHeaderPrefix) + "00017F";
  const std::vector<MalformedCase> cases = {
      {"empty file", "", PageFileFault::Empty},
      {"only blanks", " \n\t\r\n", PageFileFault::Empty},
      {"no end token", header + "\nB00027F\n", PageFileFault::NoEndToken},
      {"C token at the very end", header + " C", PageFileFault::NoEndToken},
      {"first token is the end token", ":\nB00017F\n:", PageFileFault::HeaderIsEndOrSkip},
      {"first token is a C token", "C " + header + " :", PageFileFault::HeaderIsEndOrSkip},
      {"header record without 7 tag", std::string(kHeaderPrefix) + "0001B0002 :", PageFileFault::NoChecksumTag},
      {"data record without 7 tag", header + " B0002B0003B :", PageFileFault::NoChecksumTag},
      {"data word cut short", header + " B00 :", PageFileFault::NoChecksumTag},
      {"header too short for a word", "K0000PAGE0TAG98000B :", PageFileFault::NoChecksumTag},
      {"header too short for the load address", "K00 :", PageFileFault::NoChecksumTag},
      {"token of 100 characters", header + " B" + recordWords(Words(19, 0)) + " :", PageFileFault::TokenTooLong},
      {"header of 100 characters", std::string(kHeaderPrefix) + recordWords(Words(15, 0)) + "FF :",
       PageFileFault::TokenTooLong},
      {"word with a non-hex digit", header + " B00G17F :", PageFileFault::BadHexDigit},
      {"load address with a non-hex digit", "K0000PAGE0TAG9X000B00017F :", PageFileFault::BadHexDigit},
      {"one word more than a page", bigRecordFile(65536 / 8, 8).insert(19, "0000B"), PageFileFault::TooManyWords},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = parsePageText(c.text);
    EXPECT_FALSE(result.page);
    EXPECT_EQ(result.fault, c.fault) << describePageFileFault(result.fault);
  }
}

TEST(PageFileReader, ReadsFromDiskAndRefusesWhatIsNoFile) {
  test::TempDir dir;
  const auto page = dir.path() / "page1.tag";
  std::ofstream(page) << tagFile({0x0102}, {{0x0304}});
  const auto good = readPageFile(page);
  ASSERT_TRUE(good.page);
  EXPECT_EQ(good.page->words, (Words{0x0102, 0x0304}));

  EXPECT_EQ(readPageFile(dir.path() / "missing.tag").fault, PageFileFault::CannotOpen);
  // A module index that names no file leaves the page-set folder itself as the path.
  EXPECT_EQ(readPageFile(dir.path()).fault, PageFileFault::CannotOpen);
}

TEST(PageFileLoadRules, LoadAddressOnlyForTheProgramDirectoryRamPrograms) {
  const std::filesystem::path programDir = "/opt/kad";
  const std::filesystem::path pageSet = "/opt/kad/RQV527E1/HARD_PF";
  struct Case {
    std::filesystem::path file;
    LinkMode link;
    bool taken;
  };
  const Case cases[] = {
      {programDir / "user.tag", LinkMode::Serial, true},
      {programDir / "bootgra.tag", LinkMode::Ethernet, true},
      {programDir / "user.tag", LinkMode::USB, false},
      {programDir / "flash_r2.tag", LinkMode::Serial, false},
      {pageSet / "user.tag", LinkMode::Serial, false},
      {pageSet / "page1.tag", LinkMode::Serial, false},
      {pageSet / "page0.tag", LinkMode::Ethernet, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.string() + " link " + std::to_string(static_cast<int>(c.link)));
    EXPECT_EQ(takesLoadAddress(c.file, programDir, c.link), c.taken);
  }
}

TEST(PageFileLoadRules, OnlyLowerCaseX50rArmsTheSecondHalf) {
  EXPECT_TRUE(isX50rFile("/sets/E1/x50r.tag"));
  EXPECT_FALSE(isX50rFile("/sets/E1/X50R.TAG"));
  EXPECT_FALSE(isX50rFile("/sets/E1/x50c.tag"));
  EXPECT_FALSE(isX50rFile("/sets/x50r.tag/page1.tag"));
}

PageImage pageZero(std::uint16_t code, std::uint16_t format) {
  PageImage image;
  image.words.assign(200, 0);
  image.words[kEquipmentCodeWord] = code;
  image.words[kFormatVersionWord] = format;
  return image;
}

TEST(PageSetCheck, EquipmentCodeAndFormatVersionPerModel) {
  struct Case {
    EquipmentModel model;
    std::uint16_t code, format;
    PageSetVerdict verdict;
    bool code202;
  };
  using enum EquipmentModel;
  const Case cases[] = {
      {E1, 200, 0, PageSetVerdict::Accepted, false},
      {E1, 202, 3, PageSetVerdict::Accepted, true},
      {E1, 201, 0, PageSetVerdict::WrongModel, false},
      {T1, 200, 1, PageSetVerdict::Accepted, false},
      {T1, 201, 1, PageSetVerdict::WrongModel, false},
      {T1, 201, 2, PageSetVerdict::Accepted, false},
      {T1, 200, 2, PageSetVerdict::WrongModel, false},
      {T1, 202, 0, PageSetVerdict::WrongModel, false},
      {TIM, 300, 0, PageSetVerdict::Accepted, false},
      {TIMSK, 300, 0, PageSetVerdict::Accepted, false},
      {TIMSK, 200, 0, PageSetVerdict::WrongModel, false},
      {DSL2, 400, 0, PageSetVerdict::Accepted, false},
      {DSL2, 300, 0, PageSetVerdict::WrongModel, false},
      {OTDR, 12345, 0, PageSetVerdict::Accepted, false},
      {E1, 200, 6, PageSetVerdict::Accepted, false},
      {E1, 200, 7, PageSetVerdict::NewerFormat, false},
      {CATV, 0, 0xFFFF, PageSetVerdict::NewerFormat, false},
      {static_cast<EquipmentModel>(42), 202, 0, PageSetVerdict::Accepted, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("model " + std::to_string(static_cast<int>(c.model)) + " code " + std::to_string(c.code) +
                 " format " + std::to_string(c.format));
    const PageSetCheck check = checkPageSetWords(c.model, pageZero(c.code, c.format));
    EXPECT_EQ(check.verdict, c.verdict);
    EXPECT_EQ(check.familyCode202, c.code202);
  }
}

TEST(PageSetCheck, AShortPageZeroIsNotThePageSetOfTheModel) {
  PageImage shortPage;
  shortPage.words = {1, 2, 3};
  EXPECT_EQ(checkPageSetWords(EquipmentModel::E1, shortPage).verdict, PageSetVerdict::WrongModel);
}

TEST(HardwareTypeCheck, Decisions) {
  struct Case {
    std::uint16_t page, unit;
    bool accepted;
    ProfileKind profile;
    HardwareTypeDecision decision;
  };
  const Case cases[] = {
      {0x6370, 0x6370, false, ProfileClient, HardwareTypeDecision::Pass},
      {0x6370, 0x636E, false, ProfileClient, HardwareTypeDecision::Refuse},
      {0x6370, 0x636E, false, ProfileRG, HardwareTypeDecision::Refuse},
      {0x6370, 0x636E, false, ProfileEngineering, HardwareTypeDecision::AskOperator},
      {0x6370, kOldHardwareType, false, ProfileClient, HardwareTypeDecision::AskOperator},
      // After one accepted mismatch any later type passes without a question.
      {0x0070, 0x636E, true, ProfileClient, HardwareTypeDecision::Pass},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.page) + " vs " + std::to_string(c.unit));
    EXPECT_EQ(decideHardwareType(c.page, c.unit, c.accepted, c.profile), c.decision);
  }
}

TEST(HardwareTypeCheck, TypeTexts) {
  EXPECT_EQ(hardwareTypeText(0x6370), "pc");
  EXPECT_EQ(hardwareTypeText(0x0070), "p");
  EXPECT_EQ(hardwareTypeText(0x8B00), "OLD");
  EXPECT_EQ(hardwareTypeText(0x00E9), "\xC3\xA9");  // a Latin-1 letter shown in UTF-8
  EXPECT_EQ(hardwareTypeText(0x6300), "");
}

TEST(ReadBack, ComparesTheHalfBeingVerified) {
  PageImage image;
  for (std::uint16_t i = 0; i < 40; ++i) image.words.push_back(static_cast<std::uint16_t>(100 + i));
  const Words firstTen(image.words.begin(), image.words.begin() + 10);
  EXPECT_TRUE(readBackMatches(image, firstTen, {}));

  Words corrupted = firstTen;
  corrupted[9] ^= 1;
  EXPECT_FALSE(readBackMatches(image, corrupted, {}));

  // A second half compares from its offset.
  const Words tail(image.words.begin() + 30, image.words.end());
  EXPECT_TRUE(readBackMatches(image, tail, {.offset = 30}));
  EXPECT_FALSE(readBackMatches(image, firstTen, {.offset = 30}));
  // The unit cannot hold more than the page: a longer read-back is a difference.
  Words longer = tail;
  longer.push_back(0);
  EXPECT_FALSE(readBackMatches(image, longer, {.offset = 30}));
}

TEST(ReadBack, PageFifteenWordSixteenIsTheModuleWord) {
  PageImage image;
  image.words.assign(32, 0x1111);
  Words unit = image.words;
  unit[16] = 0x1534;
  const ReadBackContext page15{.offset = 0, .currentPage = 15, .pageOnly = false, .moduleWord = 0x1534};
  EXPECT_TRUE(readBackMatches(image, unit, page15));
  EXPECT_FALSE(readBackMatches(image, image.words, page15));

  // "Somente página" writes the page as it is in the file.
  ReadBackContext pageOnly = page15;
  pageOnly.pageOnly = true;
  EXPECT_TRUE(readBackMatches(image, image.words, pageOnly));
  EXPECT_FALSE(readBackMatches(image, unit, pageOnly));

  // Other pages and second halves compare word 16 with the file.
  ReadBackContext page14 = page15;
  page14.currentPage = 14;
  EXPECT_FALSE(readBackMatches(image, unit, page14));
  ReadBackContext secondHalf = page15;
  secondHalf.offset = 8;
  EXPECT_TRUE(readBackMatches(image, Words(24, 0x1111), secondHalf));
}

}  // namespace
}  // namespace kad
