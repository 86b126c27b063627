#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "models/equipment_model.h"

namespace kad {

// ---- the unit's 8-bit text ----

// The unit speaks Latin-1; the program keeps UTF-8. A character outside Latin-1 becomes '?'.
std::string latin1FromUtf8(std::string_view utf8);
std::string utf8FromLatin1(std::string_view latin1);

// The unit stores a character as its 8-bit code widened with its sign (0xE9 -> 0xFFE9).
std::uint16_t signExtendedCharacter(unsigned char code);

// ---- the unit's identity laid into page 0 and page 15 ----

inline constexpr std::size_t kClientBlockWords = 68;
inline constexpr std::size_t kClientBlockFirstWord = 70;  // page 0 words 70 to 137
inline constexpr std::size_t kCalibrationFirstWord = 184;  // page 0 words 184 and 185
inline constexpr std::size_t kModuleWordIndexInPage15 = 16;
inline constexpr std::size_t kMaxClientNameLength = 16;
inline constexpr std::uint16_t kErasedWord = 0xFFFF;

using ClientBlock = std::array<std::uint16_t, kClientBlockWords>;
using CalibrationWords = std::array<std::uint16_t, 2>;
// Module index per slot; slot 1 (index 0 here) is page 9, then pages 12, 13 and 14.
using ModuleSlots = std::array<int, 4>;
// One flag per module index 0 to 7.
using ModuleSelection = std::array<bool, 8>;

// The personal data of the connected unit, read at connection and kept until the next.
struct PersonalData {
  std::array<std::uint16_t, 16> unitWords112To127{};
  std::array<std::uint16_t, 9> unitWords128To136{};
  CalibrationWords calibrationWords{};  // once erased, 0xFFFF until the unit is read again
  ModuleSlots moduleSlots{};
  std::uint16_t moduleWord = 0;
  // Page 0 words 156 to 158: the unit's Ethernet address 00-50-C2-7F-8x-xx.
  std::array<std::uint16_t, 3> ethernetAddressWords{0x0050, 0xC27F, 0x0000};
  bool eraseAnsweredInSpecialMode = false;  // "Do you wish to erase the unit's calibration?" Yes
};

// The operator fields of the main window that go into the client block (UTF-8).
struct ClientFields {
  std::string clientName;    // EditNomeCliente
  std::string serialNumber;  // MaskNSerie as shown, "12.34.567"
  std::string cpuVersion;    // EditCPU
  std::string equipVersion;  // EditEquip
  std::string batteryVersion;  // EditBateria
};

// The calibration is erased when "Apagar Calibração" is ticked or the operator asked for it
// on entering the special mode.
bool calibrationToBeErased(bool eraseOptionTicked, bool erasedInSpecialMode);

// Sets the calibration words to 0xFFFF when they are to be erased; they stay so.
void applyCalibrationErase(PersonalData& data, bool erase);

ClientBlock buildClientBlock(const ClientFields& fields, const PersonalData& data, bool eraseCalibration);

// Selected modules fill the slots from slot 1 in ascending order; the rest keep what the
// unit reported. At most four modules count.
void buildModuleWord(PersonalData& data, const ModuleSelection& selection);
std::uint16_t packModuleSlots(const ModuleSlots& slots);

// Word 158 of page 0, from the serial number; other models keep `current`.
std::uint16_t buildEthernetAddress(EquipmentModel model, std::string_view serialNumber, std::uint16_t current);

// Overlays on a loaded page; words past the page's own end are left alone.
void layPersonalDataIntoPageZero(std::vector<std::uint16_t>& pageZero, const ClientBlock& block,
                                 const CalibrationWords& calibration);
void layModuleWordIntoPageFifteen(std::vector<std::uint16_t>& pageFifteen, std::uint16_t moduleWord);

}  // namespace kad
