#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "models/equipment_model.h"
#include "pagesets/personal_data.h"
#include "shell/profile.h"

namespace kad {

inline constexpr std::string_view kExchangeFile = "firmware.bin";
inline constexpr std::string_view kLineupFile = "line-up.csv";
inline constexpr std::uint8_t kRecordWaiting = 0xF0;  // the unit changes it when it has taken the record
inline constexpr std::size_t kRecordHeaderBytes = 16;
inline constexpr std::size_t kPreservedAreaBytes = 20480;

// The record header fields the USB sequence sets before each load.
struct RecordHeader {
  std::array<std::uint8_t, 8> unitHeader{};  // the first eight bytes last read from the unit's file
  std::uint8_t pageNumber = 0;
  bool firstRecord = false;  // the RAM program that opens an upload
  bool lastRecord = false;   // page 0, or the single page of "Somente página"
  std::uint16_t timeStampHalf = 0;
};

// Personal data laid into the records of "page0.tag" and "page15.tag".
struct RecordPersonalData {
  ClientBlock clientBlock{};
  CalibrationWords calibrationWords{};  // already 0xFFFF when the calibration is erased
  std::uint16_t moduleWord = 0;
};

// "line-up.csv" for the line-up update of RQV851CATV, "firmware.bin" otherwise.
std::string exchangeFileName(EquipmentModel model, bool updateLineupTicked);

// Data bytes rounded up to whole 4096-byte blocks, the header counted in the first.
std::uint32_t recordLengthField(std::size_t wordCount);

// The first record carries the low half of the time stamp (0xFFFF when the time is not
// synchronised), every later record the high half.
std::uint16_t firstRecordTimeStampHalf(std::uint32_t timeStamp, bool synchronised);
std::uint16_t laterRecordTimeStampHalf(std::uint32_t timeStamp);

// The whole record of a loaded page: 16 header bytes, then the words big-endian, with the
// personal data laid into page 0 and page 15 (told by the file name).
std::vector<std::uint8_t> buildPageRecord(const RecordHeader& header, std::string_view fileName,
                                          std::vector<std::uint16_t> words, const RecordPersonalData& personal);

// Writes the record at the start of the existing exchange file, without truncating it.
bool writePageRecord(const std::filesystem::path& exchangeFile, std::span<const std::uint8_t> record);

// ---- whole program images ----

struct ProgramImageLayout {
  std::size_t size = 0;
  std::size_t programOffset = 0;
  bool hasPreservedArea = false;  // the models whose program starts at 0x5000
};

ProgramImageLayout programImageLayout(EquipmentModel model, bool updateLineupTicked);

// The operator fields written in the image's identity header (UTF-8).
struct IdentityFields {
  std::string serialNumber;  // MaskNSerie as shown
  std::string clientName;    // EditNomeCliente
  std::string sliver;        // EditSliver
  std::string equip;         // EditEquip
  std::string hardwareType;  // EditTipoHard
};

inline constexpr std::size_t kIdentityHeaderBytes = 36;
std::array<std::uint8_t, kIdentityHeaderBytes> buildIdentityHeader(const IdentityFields& fields, EquipmentModel model);
bool writesIdentityHeader(EquipmentModel model, ProfileKind profile);

struct ProgramImageInputs {
  EquipmentModel model = EquipmentModel::OPM;
  ProfileKind profile = ProfileClient;
  bool selectModulesTicked = false;  // "Select Modules" / "Update line-up": the file goes at 0
  std::span<const std::uint8_t> preservedArea;  // the unit's first 20,480 bytes
  std::optional<std::span<const std::uint8_t>> calibrationFile;  // when merged
  IdentityFields identity;
  std::span<const std::uint8_t> program;
};

// The image to write as the exchange file, or nothing when the program does not fit.
std::optional<std::vector<std::uint8_t>> assembleProgramImage(const ProgramImageInputs& inputs);

// Replaces the exchange file with the image in one write.
bool writeProgramImage(const std::filesystem::path& exchangeFile, std::span<const std::uint8_t> image);

}  // namespace kad
