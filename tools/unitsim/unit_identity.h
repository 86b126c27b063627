#pragma once
// What a simulated unit is: its model, its identity as it keeps it in page 0 (or in the identity
// header of the models updated as one image), and the exchange file its drive shows at start.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "models/equipment_model.h"

namespace kad::unitsim {

// How a model takes new firmware over USB.
enum class ExchangeKind { PageRecords, Image };

// Layout of the exchange file of the page-by-page models: a 16-byte record header, then page-0
// words, big-endian, so page-0 word n sits at byte 16 + 2n.
inline constexpr std::size_t kRecordHeaderSize = 16;
inline constexpr std::size_t kPageZeroWords = 32768;  // the unit shows the first half of page 0
inline constexpr std::size_t kHalfPageWords = 32768;
inline constexpr std::size_t kMaxPageWords = 65536;
constexpr std::size_t pageZeroWordOffset(std::size_t word) { return kRecordHeaderSize + 2 * word; }

// Page-0 word numbers of the unit's identity.
namespace word {
inline constexpr std::size_t kFamilyCode = 4;
inline constexpr std::size_t kRevision = 5;
inline constexpr std::size_t kHardwareType = 14;
inline constexpr std::size_t kClientName = 70;     // 16 characters, then a zero word
inline constexpr std::size_t kSerialNumber = 87;   // 9 characters, then a zero word
inline constexpr std::size_t kNameSpare = 97;      // 16 minus the length of the client name
inline constexpr std::size_t kVersions = 98;       // "12-34-56": 13 words, then a zero word
inline constexpr std::size_t kModuleWordsA = 112;  // 16 words
inline constexpr std::size_t kModuleWordsB = 128;  // 9 words
inline constexpr std::size_t kModuleWord = 137;
inline constexpr std::size_t kCheckWords = 154;    // 2 words
inline constexpr std::size_t kCalibration = 184;   // 2 words
}  // namespace word

// Layout of the exchange file of the models updated as one image: a 36-byte identity header at the
// start of a 20,480-byte preserved area, then the program.
namespace image {
inline constexpr std::size_t kSerialNumber = 0;   // 10 bytes
inline constexpr std::size_t kClientName = 10;    // 14 bytes
inline constexpr std::size_t kSliver = 24;        // 4 bytes
inline constexpr std::size_t kEquip = 28;         // 4 bytes
inline constexpr std::size_t kHardwareType = 32;  // 3 bytes
inline constexpr std::size_t kModelByte = 35;
inline constexpr std::size_t kCodeField = 32;     // 4 bytes: hardware type and model byte
inline constexpr std::size_t kIdentitySize = 36;
inline constexpr std::size_t kPreservedSize = 20480;
inline constexpr std::size_t kOffsetModelSize = 507904;  // models whose program starts at 0x5000
inline constexpr std::size_t kWholeImageSize = 512000;   // "Firmware E1/TIM"
inline constexpr std::size_t kLineupSize = 8192;
}  // namespace image

inline constexpr const char* kExchangeFileName = "firmware.bin";
inline constexpr const char* kLineupFileName = "line-up.csv";

struct UnitIdentity {
  EquipmentModel model = EquipmentModel::E1;
  std::optional<std::uint16_t> familyCode;  // empty: the model's own code
  std::uint16_t revision = 2;
  std::string hardwareType = "pc";
  std::optional<std::uint16_t> hardwareWord;  // a raw word instead of the text ("???" cases)
  std::string client = "ACME TEL";
  std::string serial = "12.34.567";
  std::string versions = "12-34-56";  // CPU, EQUIP, BATERIA
  std::string sliver = "01";
  std::uint16_t moduleWord = 0x4567;
  std::array<std::uint16_t, 2> checkWords{0x0000, 0x0000};
  std::array<std::uint16_t, 2> calibrationWords{0x1234, 0x5678};
  std::optional<std::uint8_t> modelByte;  // empty: the model's own byte
  bool lineup = false;                    // CATV: the drive holds "line-up.csv" as well
};

std::optional<EquipmentModel> modelFromName(std::string_view name);
std::string_view modelName(EquipmentModel model);
// Empty for a model that has no USB link (TP).
std::optional<ExchangeKind> exchangeKind(EquipmentModel model);

std::uint16_t familyCodeOf(EquipmentModel model);
// A family code of another model, which the uploader refuses for this one.
std::uint16_t foreignFamilyCode(EquipmentModel model);
std::uint8_t modelByteOf(EquipmentModel model);
// A model byte that the uploader refuses for this model.
std::uint8_t foreignModelByte(EquipmentModel model);
std::size_t imageSizeOf(EquipmentModel model);

// The unit's text is 8-bit: UTF-8 options become Latin-1; other characters become '?'.
std::string latin1FromUtf8(std::string_view text);
// First character in the low byte, second in the high byte.
std::uint16_t hardwareTypeWord(std::string_view text);
// The shown text of a hardware-type word: low byte, then high byte when both are set; "???" when
// the first character is a blank or the word is 0x8B00.
std::string hardwareTypeText(std::uint16_t word);
// Low bytes of `count` words as text, ending at the first zero.
std::string wordsText(std::span<const std::uint16_t> words, std::size_t first, std::size_t count);

// The unit's page 0 (kPageZeroWords words; what an identity does not fill is erased, 0xFFFF).
std::vector<std::uint16_t> buildPageZeroWords(const UnitIdentity& identity);
// Words that the unit keeps in page-0 words 112 to 136 (one pattern, so an upload can be checked
// to have carried them over).
std::uint16_t moduleAreaWord(std::size_t pageWord);
// The byte the unit keeps at offset i of the preserved area after the identity header.
std::uint8_t preservedAreaByte(std::size_t offset);

// The exchange file of a page-by-page unit: the 8 header bytes the unit shows, the length field of
// its page-0 words, then the words big-endian.
std::vector<std::uint8_t> pageRecordsExchangeFile(std::span<const std::uint8_t, 8> unitHeader,
                                                  std::span<const std::uint16_t> pageZero);
// The exchange file of an image unit: identity header, preserved area, erased program area.
std::vector<std::uint8_t> imageExchangeFile(const UnitIdentity& identity);

// Length field of a record of `wordCount` words: the data bytes rounded up to 4096, counting the
// 16 header bytes when they cross a boundary.
std::uint32_t recordLengthField(std::size_t wordCount);

}  // namespace kad::unitsim
