#include "unit_identity.h"

#include <algorithm>
#include <cctype>

namespace kad::unitsim {
namespace {

struct ModelRow {
  EquipmentModel model;
  std::string_view name;
  std::optional<ExchangeKind> kind;
  std::uint16_t familyCode;         // page-by-page models
  std::uint16_t foreignFamilyCode;  // a family that is not this model
  std::uint8_t modelByte;           // image models
  std::uint8_t foreignModelByte;
};

constexpr ModelRow kModels[] = {
    {EquipmentModel::OPM, "OPM", ExchangeKind::Image, 0, 0, 2, 3},
    {EquipmentModel::OTDR, "OTDR", ExchangeKind::Image, 0, 0, 3, 5},
    {EquipmentModel::OTDR160, "OTDR160", ExchangeKind::Image, 0, 0, 5, 6},
    {EquipmentModel::OTDR170, "OTDR170", ExchangeKind::Image, 0, 0, 6, 5},
    {EquipmentModel::E1, "E1", ExchangeKind::PageRecords, 200, 300, 1, 1},
    {EquipmentModel::T1, "T1", ExchangeKind::PageRecords, 201, 300, 1, 1},
    {EquipmentModel::TIM, "TIM", ExchangeKind::PageRecords, 300, 200, 1, 1},
    {EquipmentModel::TIMSK, "TIMSK", ExchangeKind::PageRecords, 301, 200, 1, 1},
    {EquipmentModel::DSL2, "DSL2", ExchangeKind::PageRecords, 400, 200, 1, 1},
    {EquipmentModel::CATV, "CATV", ExchangeKind::Image, 0, 0, 1, 2},
    {EquipmentModel::MEGOMETRO, "MEGOMETRO", ExchangeKind::Image, 0, 0, 4, 3},
    {EquipmentModel::TP, "TP", std::nullopt, 0, 0, 1, 1},
    {EquipmentModel::CPU206, "CPU206", ExchangeKind::Image, 0, 0, 1, 2},
};

const ModelRow& rowOf(EquipmentModel model) {
  const auto normal = normalizedModel(model);
  return *std::find_if(std::begin(kModels), std::end(kModels),
                       [normal](const ModelRow& row) { return row.model == normal; });
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// Lays `text` one character per word (low byte) from `first`, at most `count` characters.
void putWordsText(std::vector<std::uint16_t>& words, std::size_t first, std::size_t count, std::string_view text) {
  const auto latin1 = latin1FromUtf8(text);
  for (std::size_t i = 0; i < count; ++i)
    words[first + i] = i < latin1.size() ? static_cast<std::uint8_t>(latin1[i]) : 0;
}

// A zero-terminated text field of `size` bytes: at most size - 1 characters.
void putBytesText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size, std::string_view text) {
  const auto latin1 = latin1FromUtf8(text);
  for (std::size_t i = 0; i < size; ++i)
    bytes[offset + i] = i + 1 < size && i < latin1.size() ? static_cast<std::uint8_t>(latin1[i]) : 0;
}

// Characters 4-5 of the versions text "12-34-56": the EQUIP version that an image unit keeps.
std::string equipVersion(std::string_view versions) {
  return versions.size() >= 5 ? std::string(versions.substr(3, 2)) : std::string();
}

}  // namespace

std::optional<EquipmentModel> modelFromName(std::string_view name) {
  for (const auto& row : kModels)
    if (equalsIgnoringCase(row.name, name)) return row.model;
  return std::nullopt;
}

std::string_view modelName(EquipmentModel model) { return rowOf(model).name; }
std::optional<ExchangeKind> exchangeKind(EquipmentModel model) { return rowOf(model).kind; }
std::uint16_t familyCodeOf(EquipmentModel model) { return rowOf(model).familyCode; }
std::uint16_t foreignFamilyCode(EquipmentModel model) { return rowOf(model).foreignFamilyCode; }
std::uint8_t modelByteOf(EquipmentModel model) { return rowOf(model).modelByte; }
std::uint8_t foreignModelByte(EquipmentModel model) { return rowOf(model).foreignModelByte; }

std::size_t imageSizeOf(EquipmentModel model) {
  return normalizedModel(model) == EquipmentModel::CPU206 ? image::kWholeImageSize : image::kOffsetModelSize;
}

std::string latin1FromUtf8(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    const bool twoByteLatin1 = length == 2 && lead <= 0xC3 && i + 1 < text.size() &&
                               (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80;
    out += twoByteLatin1 ? static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F))
                         : '?';
    i += std::min(length, text.size() - i) - 1;
  }
  return out;
}

std::uint16_t hardwareTypeWord(std::string_view text) {
  const auto latin1 = latin1FromUtf8(text);
  const std::uint16_t low = latin1.size() > 0 ? static_cast<std::uint8_t>(latin1[0]) : 0;
  const std::uint16_t high = latin1.size() > 1 ? static_cast<std::uint8_t>(latin1[1]) : 0;
  return static_cast<std::uint16_t>(low | (high << 8));
}

std::string hardwareTypeText(std::uint16_t word) {
  const char low = static_cast<char>(word & 0xFF);
  const char high = static_cast<char>(word >> 8);
  if (low == ' ' || word == 0x8B00) return "???";
  std::string text;
  if (low != 0) text += low;
  if (low != 0 && high != 0) text += high;
  return text;
}

std::string wordsText(std::span<const std::uint16_t> words, std::size_t first, std::size_t count) {
  std::string text;
  for (std::size_t i = first; i < first + count && i < words.size(); ++i) {
    const char c = static_cast<char>(words[i] & 0xFF);
    if (c == 0) break;
    text += c;
  }
  return text;
}

std::uint16_t moduleAreaWord(std::size_t pageWord) { return static_cast<std::uint16_t>(0xA000 + pageWord); }

std::uint8_t preservedAreaByte(std::size_t offset) { return static_cast<std::uint8_t>((offset * 31 + 7) & 0xFF); }

std::vector<std::uint16_t> buildPageZeroWords(const UnitIdentity& identity) {
  std::vector<std::uint16_t> words(kPageZeroWords, 0xFFFF);
  words[word::kFamilyCode] = identity.familyCode.value_or(familyCodeOf(identity.model));
  words[word::kRevision] = identity.revision;
  words[word::kHardwareType] = identity.hardwareWord.value_or(hardwareTypeWord(identity.hardwareType));
  putWordsText(words, word::kClientName, 16, identity.client);
  words[word::kClientName + 16] = 0;
  putWordsText(words, word::kSerialNumber, 9, identity.serial);
  words[word::kSerialNumber + 9] = 0;
  const auto nameLength = std::min<std::size_t>(latin1FromUtf8(identity.client).size(), 16);
  words[word::kNameSpare] = static_cast<std::uint16_t>(16 - nameLength);
  putWordsText(words, word::kVersions, 13, identity.versions);
  words[word::kVersions + 13] = 0;
  for (std::size_t n = word::kModuleWordsA; n < word::kModuleWord; ++n) words[n] = moduleAreaWord(n);
  words[word::kModuleWord] = identity.moduleWord;
  words[word::kCheckWords] = identity.checkWords[0];
  words[word::kCheckWords + 1] = identity.checkWords[1];
  words[word::kCalibration] = identity.calibrationWords[0];
  words[word::kCalibration + 1] = identity.calibrationWords[1];
  return words;
}

std::uint32_t recordLengthField(std::size_t wordCount) {
  const std::size_t dataBytes = 2 * wordCount;
  std::size_t length = (dataBytes + kRecordHeaderSize) / 4096 * 4096;
  if (dataBytes % 4096 != 0) length += 4096;
  return static_cast<std::uint32_t>(length);
}

std::vector<std::uint8_t> pageRecordsExchangeFile(std::span<const std::uint8_t, 8> unitHeader,
                                                  std::span<const std::uint16_t> pageZero) {
  std::vector<std::uint8_t> bytes(kRecordHeaderSize + 2 * pageZero.size(), 0);
  std::copy(unitHeader.begin(), unitHeader.end(), bytes.begin());
  const auto length = recordLengthField(pageZero.size());
  for (int i = 0; i < 4; ++i) bytes[8 + i] = static_cast<std::uint8_t>(length >> (8 * i));
  bytes[12] = 6;
  for (std::size_t n = 0; n < pageZero.size(); ++n) {
    bytes[pageZeroWordOffset(n)] = static_cast<std::uint8_t>(pageZero[n] >> 8);
    bytes[pageZeroWordOffset(n) + 1] = static_cast<std::uint8_t>(pageZero[n] & 0xFF);
  }
  return bytes;
}

std::vector<std::uint8_t> imageExchangeFile(const UnitIdentity& identity) {
  std::vector<std::uint8_t> bytes(imageSizeOf(identity.model), 0xFF);
  for (std::size_t i = image::kIdentitySize; i < image::kPreservedSize; ++i) bytes[i] = preservedAreaByte(i);
  putBytesText(bytes, image::kSerialNumber, 10, identity.serial);
  putBytesText(bytes, image::kClientName, 14, identity.client);
  putBytesText(bytes, image::kSliver, 4, identity.sliver);
  putBytesText(bytes, image::kEquip, 4, equipVersion(identity.versions));
  putBytesText(bytes, image::kHardwareType, 3, identity.hardwareType);
  bytes[image::kModelByte] = identity.modelByte.value_or(modelByteOf(identity.model));
  return bytes;
}

}  // namespace kad::unitsim
