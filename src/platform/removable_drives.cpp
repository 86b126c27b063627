#include "platform/removable_drives.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace kad::platform {
namespace {

namespace fs = std::filesystem;

// Mount points escape blanks, tabs, newlines and backslashes as three octal digits.
std::string unescapeMountPath(std::string_view text) {
  const auto octal = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '7'; };
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
      i += 3;
      continue;
    }
    out += text[i];
  }
  return out;
}

std::string firstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// A block device counts when its disk says it is removable or its device path runs over USB.
bool isRemovableOrUsb(unsigned major, unsigned minor) {
  std::error_code error;
  const fs::path device =
      fs::canonical(fs::path("/sys/dev/block") / (std::to_string(major) + ":" + std::to_string(minor)), error);
  if (error) return false;
  if (device.string().find("/usb") != std::string::npos) return true;
  const fs::path disk = fs::exists(device / "partition", error) ? device.parent_path() : device;
  return firstLine(disk / "removable") == "1";
}

std::vector<fs::path> drivesFromEnvironment(std::string_view list) {
  std::vector<fs::path> roots;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    if (end > start) roots.emplace_back(std::string(list.substr(start, end - start)));
    start = end + 1;
  }
  return roots;
}

struct FileDescriptor {
  int fd = -1;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

constexpr std::size_t kDirectAlignment = 4096;

// Reads until `size` bytes or the end of the file; false on an error.
bool readAll(int fd, std::uint8_t* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, buffer + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> readDirect(const fs::path& file, std::size_t size) {
  FileDescriptor handle{::open(file.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC)};
  if (handle.fd < 0) return std::nullopt;
  const std::size_t rounded = (size + kDirectAlignment - 1) / kDirectAlignment * kDirectAlignment;
  void* raw = nullptr;
  if (::posix_memalign(&raw, kDirectAlignment, std::max(rounded, kDirectAlignment)) != 0) return std::nullopt;
  std::unique_ptr<std::uint8_t, decltype(&std::free)> buffer(static_cast<std::uint8_t*>(raw), &std::free);
  std::size_t got = 0;
  if (!readAll(handle.fd, buffer.get(), rounded, got)) return std::nullopt;
  return std::vector<std::uint8_t>(buffer.get(), buffer.get() + std::min(got, size));
}

std::optional<std::vector<std::uint8_t>> readAfterDroppingCache(const fs::path& file, std::size_t size) {
  FileDescriptor handle{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
  if (handle.fd < 0) return std::nullopt;
  ::posix_fadvise(handle.fd, 0, 0, POSIX_FADV_DONTNEED);
  std::vector<std::uint8_t> data(size);
  std::size_t got = 0;
  if (!readAll(handle.fd, data.data(), size, got)) return std::nullopt;
  data.resize(got);
  return data;
}

}  // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    // mount-id parent-id major:minor root mount-point ...
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint;
    if (!(fields >> id >> parent >> device >> root >> mountPoint)) continue;
    const auto colon = device.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= device.size()) continue;
    const std::string majorText = device.substr(0, colon);
    const std::string minorText = device.substr(colon + 1);
    const auto isNumber = [](const std::string& s) {
      return !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!isNumber(majorText) || !isNumber(minorText)) continue;
    entries.push_back({unescapeMountPath(mountPoint), static_cast<unsigned>(std::stoul(majorText)),
                       static_cast<unsigned>(std::stoul(minorText))});
  }
  return entries;
}

std::vector<fs::path> removableDriveRoots() {
  if (const char* list = std::getenv("KAD_USB_DRIVES")) return drivesFromEnvironment(list);
  std::ifstream in("/proc/self/mountinfo");
  std::stringstream text;
  text << in.rdbuf();
  std::vector<fs::path> roots;
  for (const MountEntry& entry : parseMountInfo(text.str())) {
    if (entry.major != 0 && isRemovableOrUsb(entry.major, entry.minor)) roots.push_back(entry.mountPoint);
  }
  std::sort(roots.begin(), roots.end());
  roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
  return roots;
}

std::optional<std::vector<std::uint8_t>> readUncached(const fs::path& file, std::size_t size) {
  if (auto data = readDirect(file, size)) return data;
  // Filesystems without direct I/O (tmpfs, some FUSE drives) refuse it at open or at read.
  return readAfterDroppingCache(file, size);
}

}  // namespace kad::platform
