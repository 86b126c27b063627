#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kad::platform {

// One line of /proc/self/mountinfo: where a filesystem is mounted and its device number.
struct MountEntry {
  std::filesystem::path mountPoint;
  unsigned major = 0;
  unsigned minor = 0;
};

// Reads the mount table's text; malformed lines are skipped. Escaped blanks ("\040") in mount
// points are restored.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// Roots of the mounted filesystems whose block device is removable or sits on USB, in
// mount-point order. The environment variable KAD_USB_DRIVES (folders separated by ':')
// replaces the search, in the order given.
std::vector<std::filesystem::path> removableDriveRoots();

// Reads at most `size` bytes from the start of the file past the page cache, so a file that
// another device changes is seen as it is now: O_DIRECT where the filesystem allows it, else
// an ordinary read after dropping the file's cached pages. Nothing when the file cannot be
// opened or read.
std::optional<std::vector<std::uint8_t>> readUncached(const std::filesystem::path& file, std::size_t size);

}  // namespace kad::platform
