#include "pagesets/usb_exchange.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "shell/kad_main.h"

namespace kad {

namespace {

constexpr std::size_t kBlockBytes = 4096;
constexpr std::size_t kLineupImageBytes = 0x2000;
constexpr std::size_t kOffsetImageBytes = 0x7C000;
constexpr std::size_t kPlainImageBytes = 0x7D000;

// Models whose image keeps the unit's preserved area in its first 0x5000 bytes.
bool hasPreservedArea(EquipmentModel model) {
  return model == EquipmentModel::OPM || isOtdrModel(model) || model == EquipmentModel::CATV ||
         model == EquipmentModel::MEGOMETRO;
}

// Where the calibration file goes in the image, and which of its bytes.
struct CalibrationPlacement {
  std::size_t imageOffset;
  std::size_t fileOffset;
  std::size_t length;
};

std::optional<CalibrationPlacement> calibrationPlacement(EquipmentModel model) {
  if (model == EquipmentModel::CATV || model == EquipmentModel::MEGOMETRO) return CalibrationPlacement{4096, 0, 8192};
  if (model == EquipmentModel::OPM || isOtdrModel(model)) return CalibrationPlacement{84, 84, 4012};
  return std::nullopt;
}

// Copies as much of `from` as fits in `image` at `offset`.
void copyInto(std::vector<std::uint8_t>& image, std::size_t offset, std::span<const std::uint8_t> from) {
  if (offset >= image.size()) return;
  const std::size_t count = std::min(from.size(), image.size() - offset);
  std::copy_n(from.begin(), count, image.begin() + static_cast<std::ptrdiff_t>(offset));
}

// A text field cut to its size minus one and ended with a zero byte.
void putField(std::array<std::uint8_t, kIdentityHeaderBytes>& header, std::size_t offset, std::size_t size,
              std::string_view utf8) {
  const std::string latin1 = latin1FromUtf8(utf8).substr(0, size - 1);
  std::copy(latin1.begin(), latin1.end(), header.begin() + static_cast<std::ptrdiff_t>(offset));
  header[offset + latin1.size()] = 0;
}

std::uint8_t identityModelByte(EquipmentModel model) {
  switch (model) {
    case EquipmentModel::OPM: return 2;
    case EquipmentModel::OTDR: return 3;
    case EquipmentModel::OTDR160: return 5;
    case EquipmentModel::OTDR170: return 6;
    case EquipmentModel::MEGOMETRO: return 4;
    default: return 1;
  }
}

}  // namespace

std::string exchangeFileName(EquipmentModel model, bool updateLineupTicked) {
  return std::string(updateLineupTicked && model == EquipmentModel::CATV ? kLineupFile : kExchangeFile);
}

std::uint32_t recordLengthField(std::size_t wordCount) {
  const std::size_t bytes = 2 * wordCount;
  std::size_t length = (bytes + kRecordHeaderBytes) / kBlockBytes * kBlockBytes;
  if (bytes % kBlockBytes != 0) length += kBlockBytes;
  return static_cast<std::uint32_t>(length);
}

std::uint16_t firstRecordTimeStampHalf(std::uint32_t timeStamp, bool synchronised) {
  return synchronised ? static_cast<std::uint16_t>(timeStamp & 0xFFFF) : 0xFFFF;
}

std::uint16_t laterRecordTimeStampHalf(std::uint32_t timeStamp) { return static_cast<std::uint16_t>(timeStamp >> 16); }

std::vector<std::uint8_t> buildPageRecord(const RecordHeader& header, std::string_view fileName,
                                          std::vector<std::uint16_t> words, const RecordPersonalData& personal) {
  if (fileName == "page0.tag") layPersonalDataIntoPageZero(words, personal.clientBlock, personal.calibrationWords);
  if (fileName == "page15.tag") layModuleWordIntoPageFifteen(words, personal.moduleWord);

  std::vector<std::uint8_t> record(kRecordHeaderBytes + 2 * words.size());
  const std::uint32_t length = recordLengthField(words.size());
  record[0] = kRecordWaiting;
  record[1] = header.firstRecord ? header.unitHeader[1] : header.pageNumber;
  record[2] = header.firstRecord ? 1 : 0;
  record[3] = header.unitHeader[3];
  record[4] = header.lastRecord ? 1 : 0xFF;
  record[5] = header.unitHeader[5];
  record[6] = header.unitHeader[6];
  record[7] = header.unitHeader[7];
  for (int i = 0; i < 4; ++i) record[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
  record[12] = 6;
  record[13] = static_cast<std::uint8_t>(header.timeStampHalf & 0xFF);
  record[14] = static_cast<std::uint8_t>(header.timeStampHalf >> 8);
  record[15] = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    record[kRecordHeaderBytes + 2 * i] = static_cast<std::uint8_t>(words[i] >> 8);
    record[kRecordHeaderBytes + 2 * i + 1] = static_cast<std::uint8_t>(words[i] & 0xFF);
  }
  return record;
}

bool writePageRecord(const std::filesystem::path& exchangeFile, std::span<const std::uint8_t> record) {
  // in|out opens an existing file for update: never created, never truncated.
  std::fstream file(exchangeFile, std::ios::in | std::ios::out | std::ios::binary);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
  file.flush();
  return static_cast<bool>(file);
}

ProgramImageLayout programImageLayout(EquipmentModel model, bool updateLineupTicked) {
  if (model == EquipmentModel::CATV && updateLineupTicked) return {kLineupImageBytes, 0, true};
  if (hasPreservedArea(model)) return {kOffsetImageBytes, kPreservedAreaBytes, true};
  return {kPlainImageBytes, 0, false};
}

std::array<std::uint8_t, kIdentityHeaderBytes> buildIdentityHeader(const IdentityFields& fields, EquipmentModel model) {
  std::array<std::uint8_t, kIdentityHeaderBytes> header{};
  putField(header, 0, 10, fields.serialNumber);
  putField(header, 10, 14, fields.clientName);
  putField(header, 24, 4, fields.sliver);
  putField(header, 28, 4, fields.equip);
  putField(header, 32, 3, fields.hardwareType);
  header[35] = identityModelByte(model);
  return header;
}

bool writesIdentityHeader(EquipmentModel model, ProfileKind profile) {
  if (!hasPreservedArea(model)) return false;
  return profile == ProfileEngineering || (profile == ProfileRG && model == EquipmentModel::OPM);
}

std::optional<std::vector<std::uint8_t>> assembleProgramImage(const ProgramImageInputs& inputs) {
  const ProgramImageLayout layout = programImageLayout(inputs.model, inputs.selectModulesTicked);
  const std::size_t start = inputs.selectModulesTicked ? 0 : layout.programOffset;
  const std::size_t programSize = inputs.program.size();
  // The unit's own limit for the models with a preserved area, and in every case the buffer.
  if (hasPreservedArea(inputs.model) && programSize + kPreservedAreaBytes > kOffsetImageBytes) return std::nullopt;
  if (programSize > layout.size - start) return std::nullopt;

  std::vector<std::uint8_t> image(layout.size, 0xFF);
  if (layout.hasPreservedArea && inputs.profile != ProfileNeb) {
    copyInto(image, 0, inputs.preservedArea.first(std::min(inputs.preservedArea.size(), kPreservedAreaBytes)));
  }
  if (inputs.calibrationFile) {
    if (const auto placement = calibrationPlacement(inputs.model)) {
      const auto file = *inputs.calibrationFile;
      if (file.size() > placement->fileOffset) {
        const auto part = file.subspan(placement->fileOffset, std::min(placement->length, file.size() - placement->fileOffset));
        copyInto(image, placement->imageOffset, part);
      }
    }
  }
  if (writesIdentityHeader(inputs.model, inputs.profile)) {
    const auto header = buildIdentityHeader(inputs.identity, inputs.model);
    copyInto(image, 0, header);
  }
  copyInto(image, start, inputs.program);
  return image;
}

bool writeProgramImage(const std::filesystem::path& exchangeFile, std::span<const std::uint8_t> image) {
  std::ofstream file(exchangeFile, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  file.flush();
  return static_cast<bool>(file);
}

}  // namespace kad

// ---- the exchange file as operations of the main window ----

namespace kad {

namespace {

// The bytes of a file, at most `limit` of them; nothing when it cannot be opened.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path, std::uintmax_t limit) {
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(limit, std::filesystem::file_size(path, error))));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

}  // namespace

bool TKadMain::EmitPageRecord(const std::string& fileName) {
  RecordPersonalData personal;
  if (fileName == "page0.tag") {
    BuildClientBlock();
    applyCalibrationErase(personalData, calibrationToBeErased());
    personal = {clientBlock, personalData.calibrationWords, personalData.moduleWord};
  } else if (fileName == "page15.tag") {
    personal.moduleWord = personalData.moduleWord;
  }
  const auto record = buildPageRecord(usb.record, fileName, pageImage.words, personal);
  const EquipmentModel model = normalizedModel(currentModel.load());
  if (!writePageRecord(usb.unitDriveRoot / exchangeFileName(model, form["chkSelModulos"].checked()), record)) {
    dialogs().showOk(text(TextId::TitleError), text(TextId::MsgDeviceFull), ui::Icon::Error);
    return false;
  }
  // The record now waits for the unit: its first byte is 0xF0 until the unit takes it.
  usb.record.unitHeader[0] = kRecordWaiting;
  appendLog(text(TextId::MsgPagePrefix) + fileName + text(TextId::MsgSentSuffix));
  return true;
}

bool TKadMain::BuildAndWriteProgramImage(const std::filesystem::path& source) {
  const EquipmentModel model = normalizedModel(currentModel.load());
  const bool selectModules = form["chkSelModulos"].checked();

  std::optional<std::vector<std::uint8_t>> calibration;
  if (form["chkGravComPagCalib"].checked()) {
    if (const auto placement = calibrationPlacement(model)) {
      const std::filesystem::path file = calibrationFile[static_cast<std::size_t>(model)];
      calibration = readFileBytes(file, placement->fileOffset + placement->length);
      if (!calibration) {
        const std::string message = text(TextId::MsgErrorOpening) + file.string() + "!";
        appendLog(message);
        if (!dialogs().askYesNo(text(TextId::TitleWarning), message + "\n" + text(TextId::MsgAskNoCalib),
                                ui::Icon::Warning)) {
          EndConnection();
          return false;
        }
      }
    }
  }

  appendLog(text(TextId::MsgOpening) + source.filename().string() + "...");
  // One byte more than the largest image is enough to know that a file does not fit.
  const auto program = readFileBytes(source, kPlainImageBytes + 1);
  if (!program) {
    const std::string message = text(TextId::MsgErrorOpening) + source.string() + "!";
    appendLog(message);
    EndConnection();
    dialogs().showOk(text(TextId::TitleError), message, ui::Icon::Error);
    return false;
  }

  ProgramImageInputs inputs;
  inputs.model = model;
  inputs.profile = profile();
  inputs.selectModulesTicked = selectModules;
  inputs.preservedArea = usb.unitPreservedArea;
  if (calibration) inputs.calibrationFile = std::span<const std::uint8_t>(*calibration);
  inputs.identity = {form["MaskNSerie"].text(), form["EditNomeCliente"].text(), form["EditSliver"].text(),
                     form["EditEquip"].text(), form["EditTipoHard"].text()};
  inputs.program = *program;
  const auto image = assembleProgramImage(inputs);
  usb.unitPreservedArea.clear();
  if (!image) {
    dialogs().showOk(text(TextId::TitleInformation), text(TextId::MsgDeviceFull), ui::Icon::Information);
    return false;
  }

  auto& current = form["ProgressAtual"];
  auto& total = form["ProgressTotal"];
  current.setMax(100);
  total.setMax(100);
  for (int hundredth = 0; hundredth <= 99; ++hundredth) {
    current.setPosition(hundredth);
    total.setPosition(hundredth);
  }
  updatePercentLabels();

  if (!writeProgramImage(usb.unitDriveRoot / exchangeFileName(model, selectModules), *image)) {
    dialogs().showOk(text(TextId::TitleError), text(TextId::MsgUsbUpdateFailed), ui::Icon::Error);
    return false;
  }
  current.setPosition(100);
  total.setPosition(100);
  updatePercentLabels();
  return true;
}

}  // namespace kad
