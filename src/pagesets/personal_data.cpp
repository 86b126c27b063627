#include "pagesets/personal_data.h"

#include <algorithm>
#include <iterator>

#include "shell/kad_main.h"

namespace kad {

std::string latin1FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = 1;
    char32_t code = lead;
    if (lead >= 0xC0 && lead < 0xE0) length = 2, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead < 0xF0) length = 3, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead < 0xF8) length = 4, code = lead & 0x07;
    else if (lead >= 0x80) length = 1, code = U'?';  // a stray continuation byte
    bool complete = i + length <= utf8.size();
    for (std::size_t k = 1; complete && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) complete = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!complete) length = 1, code = U'?';
    out += code <= 0xFF ? static_cast<char>(code) : '?';
    i += length;
  }
  return out;
}

std::string utf8FromLatin1(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() * 2);
  for (const char c : latin1) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

std::uint16_t signExtendedCharacter(unsigned char code) {
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<std::int8_t>(code)));
}

bool calibrationToBeErased(bool eraseOptionTicked, bool erasedInSpecialMode) {
  return eraseOptionTicked || erasedInSpecialMode;
}

void applyCalibrationErase(PersonalData& data, bool erase) {
  if (erase) data.calibrationWords.fill(kErasedWord);
}

namespace {

// Writes `text` (at most `maxLength` characters) one character per word from `first`, then a
// zero; returns the number of characters written.
std::size_t putText(ClientBlock& block, std::size_t first, std::string_view utf8, std::size_t maxLength) {
  const std::string latin1 = latin1FromUtf8(utf8).substr(0, maxLength);
  for (std::size_t i = 0; i < latin1.size(); ++i) {
    block[first + i] = signExtendedCharacter(static_cast<unsigned char>(latin1[i]));
  }
  block[first + latin1.size()] = 0;
  return latin1.size();
}

std::string firstCharacters(std::string_view utf8, std::size_t count) {
  return utf8FromLatin1(latin1FromUtf8(utf8).substr(0, count));
}

}  // namespace

ClientBlock buildClientBlock(const ClientFields& fields, const PersonalData& data, bool eraseCalibration) {
  ClientBlock block{};  // the words after each terminating zero stay zero
  const std::size_t nameLength = putText(block, 0, fields.clientName, kMaxClientNameLength);
  putText(block, 17, fields.serialNumber, 9);
  block[27] = static_cast<std::uint16_t>(kMaxClientNameLength - nameLength);
  const std::string versions = firstCharacters(fields.cpuVersion, 3) + "-" + firstCharacters(fields.equipVersion, 3) +
                               "-" + firstCharacters(fields.batteryVersion, 3);
  putText(block, 28, versions, 13);
  std::copy(data.unitWords112To127.begin(), data.unitWords112To127.end(), block.begin() + 42);
  if (eraseCalibration) {
    std::fill(block.begin() + 58, block.begin() + 67, kErasedWord);
  } else {
    std::copy(data.unitWords128To136.begin(), data.unitWords128To136.end(), block.begin() + 58);
  }
  block[67] = data.moduleWord;
  return block;
}

std::uint16_t packModuleSlots(const ModuleSlots& slots) {
  unsigned word = 0;
  for (const int slot : slots) word = (word * 16 + static_cast<unsigned>(slot)) & 0xFFFF;
  return static_cast<std::uint16_t>(word);
}

void buildModuleWord(PersonalData& data, const ModuleSelection& selection) {
  std::size_t slot = 0;
  for (int index = 0; index < static_cast<int>(selection.size()) && slot < data.moduleSlots.size(); ++index) {
    if (selection[static_cast<std::size_t>(index)]) data.moduleSlots[slot++] = index;
  }
  data.moduleWord = packModuleSlots(data.moduleSlots);
}

std::uint16_t buildEthernetAddress(EquipmentModel model, std::string_view serialNumber, std::uint16_t current) {
  const bool lineTester = model == EquipmentModel::E1 || model == EquipmentModel::T1;
  if (!lineTester && model != EquipmentModel::DSL2) return current;
  // The 5th and the 7th to 9th characters of "12.34.567"; an empty or partly filled mask
  // has no number.
  if (serialNumber.size() < 9) return 0x8000;
  unsigned number = 0;
  for (const std::size_t at : {4u, 6u, 7u, 8u}) {
    const char c = serialNumber[at];
    if (c < '0' || c > '9') return 0x8000;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  const unsigned x = number & 0x0FFF;
  return static_cast<std::uint16_t>(lineTester ? 0x8000 + (4095 - x) : 0x8000 + x);
}

void layPersonalDataIntoPageZero(std::vector<std::uint16_t>& pageZero, const ClientBlock& block,
                                 const CalibrationWords& calibration) {
  for (std::size_t i = 0; i < block.size() && kClientBlockFirstWord + i < pageZero.size(); ++i) {
    pageZero[kClientBlockFirstWord + i] = block[i];
  }
  for (std::size_t i = 0; i < calibration.size() && kCalibrationFirstWord + i < pageZero.size(); ++i) {
    pageZero[kCalibrationFirstWord + i] = calibration[i];
  }
}

void layModuleWordIntoPageFifteen(std::vector<std::uint16_t>& pageFifteen, std::uint16_t moduleWord) {
  if (kModuleWordIndexInPage15 < pageFifteen.size()) pageFifteen[kModuleWordIndexInPage15] = moduleWord;
}

}  // namespace kad

// ---- the personal data as operations of the main window ----

namespace kad {

bool TKadMain::calibrationToBeErased() const {
  return kad::calibrationToBeErased(form["chkApagar"].checked(), personalData.eraseAnsweredInSpecialMode);
}

std::size_t TKadMain::BuildClientBlock() {
  BuildModuleWord();
  const ClientFields fields{.clientName = form["EditNomeCliente"].text(),
                            .serialNumber = form["MaskNSerie"].text(),
                            .cpuVersion = form["EditCPU"].text(),
                            .equipVersion = form["EditEquip"].text(),
                            .batteryVersion = form["EditBateria"].text()};
  clientBlock = buildClientBlock(fields, personalData, calibrationToBeErased());
  return clientBlock.size();
}

void TKadMain::BuildModuleWord() {
  ModuleSelection selection{};
  std::copy(std::begin(moduleFlags), std::end(moduleFlags), selection.begin());
  buildModuleWord(personalData, selection);
}

void TKadMain::BuildEthernetAddress() {
  personalData.ethernetAddressWords[2] =
      buildEthernetAddress(currentModel.load(), form["MaskNSerie"].text(), personalData.ethernetAddressWords[2]);
}

}  // namespace kad
