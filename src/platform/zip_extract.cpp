#include "platform/zip_extract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <array>
#include <optional>
#include <string>

namespace kad::platform {

namespace fs = std::filesystem;

namespace {

// The entry's name as a relative path made only of plain names, or nothing when the name
// could lead anywhere but below the target folder. Archives made on Windows may use "\".
std::optional<fs::path> safeRelativePath(std::string name) {
  for (char& character : name) {
    if (character == '\\') character = '/';
  }
  if (name.empty() || name.front() == '/') return std::nullopt;
  fs::path relative;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." || part.find(':') != std::string::npos) return std::nullopt;
    relative /= part;
  }
  if (relative.empty()) return std::nullopt;
  return relative;
}

// Creates the folders of a relative path below the target one by one. A link met on the
// way (one planted in the target folder) is refused, so nothing is created elsewhere.
bool prepareFolder(const fs::path& target, const fs::path& relativeFolder) {
  fs::path folder = target;
  for (const auto& part : relativeFolder) {
    folder /= part;
    std::error_code error;
    const auto status = fs::symlink_status(folder, error);
    if (fs::is_symlink(status)) return false;
    if (fs::is_directory(status)) continue;
    if (fs::exists(status) || !fs::create_directory(folder, error) || error) return false;
  }
  return true;
}

bool copyEntry(zip_t* archive, zip_uint64_t index, const fs::path& destination, mode_t mode) {
  zip_file_t* entry = zip_fopen_index(archive, index, 0);
  if (entry == nullptr) return false;
  fs::path temporary = destination;
  temporary += ".kadunzip";
  std::error_code ignored;
  fs::remove(temporary, ignored);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  bool ok = fd >= 0;
  std::array<char, 16 * 1024> block{};
  while (ok) {
    const zip_int64_t count = zip_fread(entry, block.data(), block.size());
    if (count < 0) ok = false;
    if (count <= 0) break;
    const char* data = block.data();
    auto remaining = static_cast<std::size_t>(count);
    while (ok && remaining > 0) {
      const ssize_t written = ::write(fd, data, remaining);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) ok = false;
      else {
        data += written;
        remaining -= static_cast<std::size_t>(written);
      }
    }
  }
  zip_fclose(entry);
  if (fd >= 0) {
    ok = ::fchmod(fd, mode) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
  }
  if (ok) {
    std::error_code error;
    fs::rename(temporary, destination, error);  // replaces a file or link, never writes through it
    ok = !error;
  }
  if (!ok) fs::remove(temporary, ignored);
  return ok;
}

}  // namespace

ZipReport extractZip(const fs::path& archivePath, const fs::path& targetFolder) {
  ZipReport report;
  int errorCode = 0;
  zip_t* archive = zip_open(archivePath.c_str(), ZIP_RDONLY, &errorCode);
  if (archive == nullptr) return report;
  report.opened = true;

  std::error_code error;
  fs::create_directories(targetFolder, error);
  const fs::path target = fs::absolute(targetFolder, error);
  if (error || !fs::is_directory(target)) {
    report.failed = 1;
    zip_close(archive);
    return report;
  }

  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* rawName = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    if (rawName == nullptr) {
      ++report.failed;
      continue;
    }
    const std::string name = rawName;
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    mode_t mode = 0644;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) == 0 &&
        system == ZIP_OPSYS_UNIX && (attributes >> 16) != 0) {
      const mode_t stored = static_cast<mode_t>(attributes >> 16);
      if (S_ISLNK(stored)) {
        ++report.refused;
        continue;
      }
      mode = (stored & 0777) | 0600;  // we must be able to replace it next time
    }
    const auto relative = safeRelativePath(name);
    if (!relative) {
      ++report.refused;
      continue;
    }
    const bool isFolder = name.back() == '/' || name.back() == '\\';
    if (!prepareFolder(target, isFolder ? *relative : relative->parent_path())) {
      ++report.failed;
      continue;
    }
    if (isFolder) continue;
    if (copyEntry(archive, index, target / *relative, mode)) ++report.written;
    else ++report.failed;
  }
  zip_discard(archive);
  return report;
}

}  // namespace kad::platform
