#include "platform/ini_file.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace kad::platform {
namespace {

using Ini = CSimpleIniA;  // section and key names compared without regard to case

void load(Ini& ini, const std::filesystem::path& path) {
  ini.SetUnicode(false);
  ini.SetMultiKey(false);
  ini.SetMultiLine(false);
  ini.SetSpaces(false);
  ini.LoadFile(path.c_str());  // a missing or unreadable file is an empty profile
}

// Writes the whole profile next to the target and renames it over the target.
bool save(const Ini& ini, const std::filesystem::path& path) {
  std::string text;
  if (ini.Save(text) < 0) return false;
  const std::filesystem::path temporary = path.string() + ".tmp" + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool ok = written == text.size() && ::fsync(fd) == 0;
  ::close(fd);
  if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool parseInteger(std::string_view text, int& value) {
  int base = 10;
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  long long parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (negative) parsed = -parsed;
  if (parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  std::lock_guard lock(mutex_);
  Ini ini;
  load(ini, path_);
  const char* value = ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
  return value ? std::string(value) : std::string(defaultValue);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const {
  int value = defaultValue;
  const std::string text = readString(section, key, "");
  return parseInteger(text, value) ? value : defaultValue;
}

bool IniFile::sectionExists(std::string_view section) const {
  std::lock_guard lock(mutex_);
  Ini ini;
  load(ini, path_);
  return ini.GetSection(std::string(section).c_str()) != nullptr;
}

std::vector<std::string> IniFile::sections() const {
  std::lock_guard lock(mutex_);
  Ini ini;
  load(ini, path_);
  Ini::TNamesDepend names;
  ini.GetAllSections(names);
  names.sort(Ini::Entry::LoadOrder());
  std::vector<std::string> result;
  for (const auto& entry : names) result.emplace_back(entry.pItem);
  return result;
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  std::lock_guard lock(mutex_);
  Ini ini;
  load(ini, path_);
  ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str());
  return save(ini, path_);
}

bool IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
  return writeString(section, key, std::to_string(value));
}

bool IniFile::eraseSection(std::string_view section) {
  std::lock_guard lock(mutex_);
  Ini ini;
  load(ini, path_);
  if (!ini.Delete(std::string(section).c_str(), nullptr, true)) return true;
  return save(ini, path_);
}

}  // namespace kad::platform
