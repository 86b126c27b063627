#pragma once
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kad::platform {

// A Windows-style profile file: section and key names are case-insensitive, values are
// kept as written, a missing file, section or key reads as the caller's default. Every
// read goes to the file (another program may have changed it) and every write is on disk
// when the call returns, written to a temporary file and renamed over the old one, so a
// crash or a full disk never leaves half a file behind. Safe to use from any thread.
class IniFile {
 public:
  explicit IniFile(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }

  std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // A value that is not a whole decimal (or "$"/"0x" hexadecimal) number reads as the default.
  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool sectionExists(std::string_view section) const;
  // Section names in the order they stand in the file.
  std::vector<std::string> sections() const;

  // Return false when the file could not be written; the old file is then unchanged.
  bool writeString(std::string_view section, std::string_view key, std::string_view value);
  bool writeInteger(std::string_view section, std::string_view key, int value);
  bool eraseSection(std::string_view section);

 private:
  std::filesystem::path path_;
  mutable std::mutex mutex_;
};

}  // namespace kad::platform
