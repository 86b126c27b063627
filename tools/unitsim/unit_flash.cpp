#include "unit_flash.h"

#include <algorithm>

namespace kad::unitsim {

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const auto byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::uint32_t crc32OfWords(std::span<const std::uint16_t> words) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(2 * words.size());
  for (const auto w : words) {
    bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
  }
  return crc32(bytes);
}

std::uint32_t UnitEvent::lengthField() const {
  return static_cast<std::uint32_t>(header[8]) | (static_cast<std::uint32_t>(header[9]) << 8) |
         (static_cast<std::uint32_t>(header[10]) << 16) | (static_cast<std::uint32_t>(header[11]) << 24);
}

std::vector<std::uint16_t> UnitMemory::pageZero() const {
  std::vector<std::uint16_t> words(kPageZeroWords, 0xFFFF);
  if (const auto found = flash.find(0); found != flash.end())
    std::copy_n(found->second.begin(), std::min(found->second.size(), words.size()), words.begin());
  return words;
}

Unit::Unit(const UnitIdentity& identity) : identity_(identity) {
  memory_.model = normalizedModel(identity.model);
  memory_.kind = exchangeKind(identity.model).value_or(ExchangeKind::PageRecords);
  memory_.header = {kTakenMark, 0, 0, 0, 0, kStatusBytes[0], kStatusBytes[1], kStatusBytes[2]};
  if (memory_.kind == ExchangeKind::PageRecords) memory_.flash[0] = buildPageZeroWords(identity);
}

std::vector<std::uint8_t> Unit::exchangeFile() const {
  if (memory_.kind == ExchangeKind::Image) return imageExchangeFile(identity_);
  return pageRecordsExchangeFile(memory_.header, memory_.pageZero());
}

std::array<std::uint8_t, 8> Unit::takeRecord(std::span<const std::uint8_t> file) {
  UnitEvent event;
  event.index = static_cast<int>(memory_.events.size()) + 1;
  std::copy_n(file.begin(), std::min(file.size(), kRecordHeaderSize), event.header.begin());
  const auto& h = event.header;
  event.page = h[1];

  // The unit reads what the length field covers, as far as the file goes.
  const std::size_t available = file.size() > kRecordHeaderSize ? file.size() - kRecordHeaderSize : 0;
  const std::size_t byteCount = std::min<std::size_t>({event.lengthField(), available, 2 * kMaxPageWords});
  std::vector<std::uint16_t> words(byteCount / 2);
  for (std::size_t n = 0; n < words.size(); ++n)
    words[n] = static_cast<std::uint16_t>((file[kRecordHeaderSize + 2 * n] << 8) | file[kRecordHeaderSize + 2 * n + 1]);
  event.wordCount = words.size();
  event.crc = crc32OfWords(words);

  const auto& shown = memory_.header;
  event.echoOk = h[3] == shown[3] && h[5] == shown[5] && h[6] == shown[6] && h[7] == shown[7] &&
                 (!event.firstRecord() || h[1] == shown[1]);
  event.formatOk = file.size() >= kRecordHeaderSize && (h[2] == 0 || h[2] == 1) && (h[4] == 1 || h[4] == 0xFF) &&
                   h[12] == 6 && h[15] == 0;

  if (event.firstRecord()) {
    event.kind = EventKind::RamProgram;
    memory_.ramProgram = std::move(words);
  } else if (event.page == 25 && lastPage_ >= 0) {
    // Page 25 is the pending second half of the page written just before it.
    event.kind = EventKind::SecondHalf;
    event.halfOf = lastPage_;
    auto& page = memory_.flash[lastPage_];
    page.resize(kHalfPageWords, 0xFFFF);
    page.insert(page.end(), words.begin(), words.begin() + std::min(words.size(), kHalfPageWords));
  } else {
    event.kind = EventKind::Page;
    lastPage_ = event.page;
    memory_.flash[event.page] = std::move(words);
  }
  if (event.lastRecord()) memory_.finished = true;
  memory_.events.push_back(event);

  ++recordsTaken_;
  memory_.header = {kTakenMark, static_cast<std::uint8_t>(event.page), 0, static_cast<std::uint8_t>(recordsTaken_ & 0xFF),
                    0, kStatusBytes[0], kStatusBytes[1], kStatusBytes[2]};
  return memory_.header;
}

void Unit::storeImage(const std::string& fileName, std::vector<std::uint8_t> bytes) {
  UnitEvent event;
  event.index = static_cast<int>(memory_.events.size()) + 1;
  event.kind = EventKind::Image;
  event.file = fileName;
  event.byteCount = bytes.size();
  event.crc = crc32(bytes);
  memory_.events.push_back(event);
  memory_.images[event.index] = std::move(bytes);
  memory_.finished = true;
}

}  // namespace kad::unitsim
