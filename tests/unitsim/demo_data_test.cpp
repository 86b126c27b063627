#include "demo_data.h"

#include <gtest/gtest.h>

#include "pagesets/page_file.h"
#include "support/temp_dir.h"

namespace kad::unitsim {
namespace {

TEST(DemoData, PageFilesReadBackThroughTheUploadersLoader) {
  for (std::size_t count : {1u, 16u, 17u, 512u}) {
    std::vector<std::uint16_t> words(count);
    for (std::size_t i = 0; i < count; ++i) words[i] = static_cast<std::uint16_t>(0xF000 + i * 7);
    const auto parsed = parsePageText(pageFileText(0x8000, words));
    ASSERT_TRUE(parsed.page) << count;
    EXPECT_EQ(parsed.page->words, words);
    EXPECT_EQ(parsed.page->headerLoadAddress, 0x8000);
  }
}

TEST(DemoData, TheDemoDirectoryHoldsEveryFileOfTheTwentyPageLine) {
  test::TempDir dir;
  writeDemoProgramDirectory(dir.path(), 64);
  const auto pageSet = dir.path() / "RQV527E1" / "HARD_PF";
  for (int page = 0; page <= 20; ++page) {
    EXPECT_TRUE(std::filesystem::exists(pageSet / ("page" + std::to_string(page) + ".tag"))) << page;
  }
  EXPECT_TRUE(std::filesystem::exists(pageSet / "page25.tag"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "TEST-DATA.txt"));
  const auto page0 = readPageFile(pageSet / "page0.tag");
  ASSERT_TRUE(page0.page);
  EXPECT_EQ(page0.page->words[4], 200);
  EXPECT_EQ(page0.page->words[14], 'p' | ('c' << 8));
  EXPECT_TRUE(readPageFile(dir.path() / "user.tag").page);
}

}  // namespace
}  // namespace kad::unitsim
