#include "platform/zip_extract.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include "support/loopback_http_server.h"
#include "support/temp_dir.h"

namespace kad::platform {
namespace {

using test::makeZipWithZipProgram;
using test::readWholeFile;
using test::TempDir;
using test::writeWholeFile;
namespace fs = std::filesystem;

// Archives the zip program will not write: entries named freely, links among them.
void makeZipWithLibzip(const fs::path& archive, const std::vector<std::pair<std::string, std::string>>& entries,
                       bool asLinks = false) {
  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(zip, content.data(), content.size(), 0);
    const zip_int64_t index = zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_RAW);
    ASSERT_GE(index, 0);
    if (asLinks) {
      zip_file_set_external_attributes(zip, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                       static_cast<zip_uint32_t>(S_IFLNK | 0777) << 16);
    }
  }
  ASSERT_EQ(zip_close(zip), 0);
}

class ZipExtractTest : public ::testing::Test {
 protected:
  TempDir root;
  fs::path archive = root.path() / "p.zip";
  fs::path target = root.path() / "out" / "HARD_A";
};

TEST_F(ZipExtractTest, UnpacksFoldersOverwritesAndKeepsTheProgramBit) {
  writeWholeFile(target / "page0.tag", "old");
  makeZipWithZipProgram(archive, {{"page0.tag", "new page"}, {"sub/deeper/page1.tag", "p1"}, {"kad-main", "#!", 0755}});

  const auto report = extractZip(archive, target);
  EXPECT_TRUE(report.ok());
  EXPECT_EQ(report.written, 3);
  EXPECT_EQ(readWholeFile(target / "page0.tag"), "new page");
  EXPECT_EQ(readWholeFile(target / "sub" / "deeper" / "page1.tag"), "p1");
  EXPECT_TRUE((fs::status(target / "kad-main").permissions() & fs::perms::owner_exec) != fs::perms::none);
  EXPECT_TRUE((fs::status(target / "page0.tag").permissions() & fs::perms::owner_exec) == fs::perms::none);
}

TEST_F(ZipExtractTest, EntriesLeavingTheFolderWriteNothingOutside) {
  makeZipWithZipProgram(archive, {{"../evil", "bad"}, {"good.tag", "ok"}});
  auto report = extractZip(archive, target);
  EXPECT_EQ(report.refused, 1);
  EXPECT_FALSE(report.ok());
  EXPECT_FALSE(fs::exists(target.parent_path() / "evil"));
  EXPECT_EQ(readWholeFile(target / "good.tag"), "ok");

  const fs::path outside = root.path() / "absolute-evil";
  makeZipWithLibzip(archive, {{outside.string(), "bad"}, {"a/../../evil2", "bad"}, {"C:\\evil3", "bad"}});
  report = extractZip(archive, target);
  EXPECT_EQ(report.refused, 3);
  EXPECT_EQ(report.written, 0);
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_FALSE(fs::exists(target.parent_path() / "evil2"));
}

TEST_F(ZipExtractTest, LinksInTheArchiveOrInTheFolderAreNotFollowed) {
  makeZipWithLibzip(archive, {{"link", "/etc"}}, true);
  auto report = extractZip(archive, target);
  EXPECT_EQ(report.refused, 1);
  EXPECT_FALSE(fs::exists(fs::symlink_status(target / "link")));

  const fs::path elsewhere = root.path() / "elsewhere";
  fs::create_directories(elsewhere);
  fs::create_directory_symlink(elsewhere, target / "planted");
  fs::create_symlink(elsewhere / "leaf", target / "leaf.tag");
  makeZipWithZipProgram(archive, {{"planted/file", "bad"}, {"leaf.tag", "fine"}});
  report = extractZip(archive, target);
  EXPECT_FALSE(report.ok());
  EXPECT_TRUE(fs::is_empty(elsewhere));
  // The link was replaced by the file, not written through.
  EXPECT_FALSE(fs::is_symlink(target / "leaf.tag"));
  EXPECT_EQ(readWholeFile(target / "leaf.tag"), "fine");
}

TEST_F(ZipExtractTest, SomethingThatIsNoArchiveIsReported) {
  writeWholeFile(archive, "<html><body>Error 404</body></html>");
  EXPECT_FALSE(extractZip(archive, target).opened);
  EXPECT_FALSE(extractZip(root.path() / "missing.zip", target).opened);
}

}  // namespace
}  // namespace kad::platform
