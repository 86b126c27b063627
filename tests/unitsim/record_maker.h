#pragma once
// Page records as the uploader writes them, made here from the record format itself so that the
// simulator's reading is checked against an independent writer.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace kad::unitsim::test {

struct RecordFields {
  int page = 1;
  bool first = false;
  bool last = false;
  std::array<std::uint8_t, 8> shown{};  // the unit's header bytes as last read (1, 3, 5-7 go back)
  std::uint16_t stampHalf = 0xFFFF;
};

inline std::vector<std::uint8_t> makeRecord(const RecordFields& f, const std::vector<std::uint16_t>& words) {
  const std::size_t dataBytes = 2 * words.size();
  std::uint32_t length = static_cast<std::uint32_t>((dataBytes + 16) / 4096 * 4096 + (dataBytes % 4096 ? 4096 : 0));
  std::vector<std::uint8_t> bytes = {0xF0,
                                     static_cast<std::uint8_t>(f.first ? f.shown[1] : f.page),
                                     static_cast<std::uint8_t>(f.first ? 1 : 0),
                                     f.shown[3],
                                     static_cast<std::uint8_t>(f.last ? 1 : 0xFF),
                                     f.shown[5],
                                     f.shown[6],
                                     f.shown[7],
                                     static_cast<std::uint8_t>(length),
                                     static_cast<std::uint8_t>(length >> 8),
                                     static_cast<std::uint8_t>(length >> 16),
                                     static_cast<std::uint8_t>(length >> 24),
                                     6,
                                     static_cast<std::uint8_t>(f.stampHalf & 0xFF),
                                     static_cast<std::uint8_t>(f.stampHalf >> 8),
                                     0};
  for (const auto w : words) {
    bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
  }
  return bytes;
}

// Writes at the start of the file without truncating it, as the uploader does.
inline void writeRecord(const std::filesystem::path& file, const std::vector<std::uint8_t>& record) {
  std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
  out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
}

inline std::vector<std::uint8_t> readAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::array<std::uint8_t, 8> firstEight(const std::filesystem::path& file) {
  std::array<std::uint8_t, 8> bytes{};
  std::ifstream in(file, std::ios::binary);
  in.read(reinterpret_cast<char*>(bytes.data()), 8);
  return bytes;
}

// Words n, n+1, ... of a pattern unique to `seed`.
inline std::vector<std::uint16_t> patternWords(std::size_t count, std::uint16_t seed) {
  std::vector<std::uint16_t> words(count);
  for (std::size_t n = 0; n < count; ++n) words[n] = static_cast<std::uint16_t>(seed * 257 + n * 3);
  return words;
}

}  // namespace kad::unitsim::test
