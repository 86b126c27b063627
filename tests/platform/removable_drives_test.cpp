#include "platform/removable_drives.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/temp_dir.h"

namespace kad::platform {
namespace {

TEST(RemovableDrives, MountTableLinesAndEscapes) {
  const auto entries = parseMountInfo(
      "36 35 8:17 / /media/user/MY\\040UNIT rw,nosuid - vfat /dev/sdb1 rw\n"
      "garbage\n"
      "37 35 x:1 / /bad rw - ext4 /dev/x rw\n"
      "38 35 0:22 / /proc rw - proc proc rw\n"
      "39 35 8:1 / /media/a\\134b rw - ext4 /dev/sda1 rw");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].mountPoint, "/media/user/MY UNIT");
  EXPECT_EQ(entries[0].major, 8u);
  EXPECT_EQ(entries[0].minor, 17u);
  EXPECT_EQ(entries[1].major, 0u);
  EXPECT_EQ(entries[2].mountPoint, "/media/a\\b");
}

TEST(RemovableDrives, EnvironmentListReplacesTheSearchInItsOrder) {
  ::setenv("KAD_USB_DRIVES", "/z/unit::/a/stick", 1);
  EXPECT_EQ(removableDriveRoots(), (std::vector<std::filesystem::path>{"/z/unit", "/a/stick"}));
  ::unsetenv("KAD_USB_DRIVES");
  // Without it, whatever this machine has; never a pseudo filesystem.
  for (const auto& root : removableDriveRoots()) EXPECT_NE(root, "/proc");
}

TEST(RemovableDrives, UncachedReadsSeeTheFileAsItIsNow) {
  test::TempDir dir;
  const auto file = dir.path() / "firmware.bin";
  std::string bytes(10000, 'x');
  bytes[0] = '\xF0';
  std::ofstream(file, std::ios::binary) << bytes;
  auto data = readUncached(file, 20480);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->size(), 10000u);
  EXPECT_EQ((*data)[0], 0xF0);
  {
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.put('\0');
  }
  data = readUncached(file, 8);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->size(), 8u);
  EXPECT_EQ((*data)[0], 0);
  EXPECT_FALSE(readUncached(dir.path() / "missing", 8));
  EXPECT_FALSE(readUncached(dir.path(), 8));  // a folder reads as an error
}

}  // namespace
}  // namespace kad::platform
