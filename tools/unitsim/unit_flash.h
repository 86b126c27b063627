#pragma once
// The simulated unit's memory: the RAM program, FLASH pages by number and the images it was given,
// with the order in which it took them. Independent of the link that brought them.
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "unit_identity.h"

namespace kad::unitsim {

enum class EventKind { RamProgram, Page, SecondHalf, Image };

// One thing the unit took, in the order it took them (index from 1).
struct UnitEvent {
  int index = 0;
  EventKind kind = EventKind::Page;
  int page = 0;     // byte 1 of the record
  int halfOf = -1;  // a second half: the page it completes
  std::array<std::uint8_t, kRecordHeaderSize> header{};
  std::size_t wordCount = 0;  // words stored (records)
  std::string file;           // images: the file written
  std::size_t byteCount = 0;  // images
  std::uint32_t crc = 0;      // CRC-32 of the words as sent (big-endian) or of the image bytes
  bool echoOk = true;         // bytes 3, 5-7 (and 1 of a first record) as the unit last showed them
  bool formatOk = true;       // flags, byte 12 and byte 15 as a record has them

  std::uint32_t lengthField() const;
  bool firstRecord() const { return header[2] == 1; }
  bool lastRecord() const { return header[4] == 1; }
  // Bytes 13 and 14 as one 16-bit value, byte 13 the low byte.
  std::uint16_t stampHalf() const { return static_cast<std::uint16_t>(header[13] | (header[14] << 8)); }
};

struct UnitMemory {
  EquipmentModel model = EquipmentModel::E1;
  ExchangeKind kind = ExchangeKind::PageRecords;
  std::array<std::uint8_t, 8> header{};  // what the unit shows in bytes 0-7 of its file
  std::vector<UnitEvent> events;
  std::vector<std::uint16_t> ramProgram;
  std::map<int, std::vector<std::uint16_t>> flash;    // page number -> words (second half from word 32768)
  std::map<int, std::vector<std::uint8_t>> images;    // event index -> bytes
  bool finished = false;                              // a last record or an image was taken
  bool vanished = false;                              // the drive was taken away

  // Page 0 as the unit holds it now, padded with erased words to kPageZeroWords.
  std::vector<std::uint16_t> pageZero() const;
};

std::uint32_t crc32(std::span<const std::uint8_t> bytes);
std::uint32_t crc32OfWords(std::span<const std::uint16_t> words);  // words taken big-endian

// The unit's behaviour on what arrives; the link front ends decide when it arrives.
class Unit {
 public:
  // The byte the unit writes into byte 0 when it has taken a record.
  static constexpr std::uint8_t kTakenMark = 0x00;
  // The unit's own status in bytes 5 to 7, which the uploader writes back unchanged.
  static constexpr std::array<std::uint8_t, 3> kStatusBytes{0xA5, 0x5A, 0x01};

  explicit Unit(const UnitIdentity& identity);

  const UnitIdentity& identity() const { return identity_; }
  const UnitMemory& memory() const { return memory_; }

  // The whole exchange file the unit's drive shows (at start and after it finished a page update).
  std::vector<std::uint8_t> exchangeFile() const;
  // Takes the record at the start of `file` (its header and the words its length field covers)
  // and returns the eight bytes the unit writes over the start of the file.
  std::array<std::uint8_t, 8> takeRecord(std::span<const std::uint8_t> file);
  // Keeps an image written as the whole `fileName`.
  void storeImage(const std::string& fileName, std::vector<std::uint8_t> bytes);
  void markVanished() { memory_.vanished = true; }

 private:
  UnitIdentity identity_;
  UnitMemory memory_;
  int recordsTaken_ = 0;
  int lastPage_ = -1;  // page of the last page record, for a following second half
};

}  // namespace kad::unitsim
