// The USB link: the unit shows up as a removable drive whose exchange file carries its
// identity; records are written into that file one at a time and the unit takes each by
// changing its first byte.
#include "upload/usb_update.h"

#include <algorithm>

#include "pagesets/page_file.h"
#include "pagesets/page_set_layout.h"
#include "platform/removable_drives.h"
#include "shell/kad_main.h"

namespace kad {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kUnitFileReadBytes = kPreservedAreaBytes;

std::uint8_t byteAt(std::span<const std::uint8_t> data, std::size_t at) { return at < data.size() ? data[at] : 0; }

std::uint16_t bigEndianWord(std::span<const std::uint8_t> data, std::size_t at) {
  return static_cast<std::uint16_t>(byteAt(data, at) << 8 | byteAt(data, at + 1));
}

// The page-by-page models keep one character in the low byte of each big-endian word.
std::string wordText(std::span<const std::uint8_t> data, std::size_t offset, std::size_t bytes) {
  std::string text;
  for (std::size_t at = offset; at + 1 < offset + bytes; at += 2) text += static_cast<char>(byteAt(data, at + 1));
  return text;
}

std::string byteText(std::span<const std::uint8_t> data, std::size_t offset, std::size_t bytes) {
  std::string text;
  for (std::size_t at = offset; at < offset + bytes; ++at) text += static_cast<char>(byteAt(data, at));
  return text;
}

// Zero bytes become points; then the points (and for the client name the blanks) go.
std::string withoutPoints(std::string text, bool blanksToo) {
  std::replace(text.begin(), text.end(), '\0', '.');
  std::erase_if(text, [&](char c) { return c == '.' || (blanksToo && c == ' '); });
  return utf8FromLatin1(text);
}

// The hardware type of an image ends at its first zero byte (the model byte follows it).
std::string untilZero(std::string text) { return utf8FromLatin1(text.substr(0, text.find('\0'))); }

bool isImageModel(EquipmentModel model) { return sequenceKind(model, LinkMode::USB) == SequenceKind::BinaryImage; }

bool isLineTesterOrTimModel(EquipmentModel model) {
  return model == EquipmentModel::E1 || model == EquipmentModel::T1 || model == EquipmentModel::TIM ||
         model == EquipmentModel::TIMSK;
}

bool isTimModel(EquipmentModel model) { return model == EquipmentModel::TIM || model == EquipmentModel::TIMSK; }

std::optional<int> pageNumberFromText(const std::string& text) {
  if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(text);
}

}  // namespace

std::string formatSerialNumber(std::string digits) {
  std::erase(digits, '.');
  if (digits.size() > 2) digits.insert(2, ".");
  if (digits.size() > 5) digits.insert(5, ".");
  return digits;
}

UnitFileFields parseUnitFile(std::span<const std::uint8_t> data, bool imageModel) {
  UnitFileFields fields;
  if (imageModel) {
    fields.serialNumber = formatSerialNumber(withoutPoints(byteText(data, 0, 10), false));
    fields.clientName = withoutPoints(byteText(data, 10, 14), true);
    fields.sliver = withoutPoints(byteText(data, 24, 4), false);
    fields.cpuVersion = withoutPoints(byteText(data, 28, 4), false);
    fields.equipVersion = fields.cpuVersion;
    fields.hardwareType = untilZero(byteText(data, 32, 4));
  } else {
    fields.clientName = withoutPoints(wordText(data, 156, 32), true);
    fields.serialNumber = formatSerialNumber(withoutPoints(wordText(data, 190, 18), false));
    fields.cpuVersion = withoutPoints(wordText(data, 212, 4), false);
    fields.equipVersion = withoutPoints(wordText(data, 218, 4), false);
    fields.batteryVersion = withoutPoints(wordText(data, 224, 4), false);
    fields.hardwareTypeWord = bigEndianWord(data, 44);
    fields.hardwareType = hardwareTypeText(fields.hardwareTypeWord);
    for (std::size_t i = 0; i < fields.words112To127.size(); ++i) fields.words112To127[i] = bigEndianWord(data, 240 + 2 * i);
    for (std::size_t i = 0; i < fields.words128To136.size(); ++i) fields.words128To136[i] = bigEndianWord(data, 272 + 2 * i);
    fields.moduleWord = bigEndianWord(data, 290);
    fields.calibrationWords = {bigEndianWord(data, 384), bigEndianWord(data, 386)};
  }
  fields.words.UnitFamilyCode = bigEndianWord(data, 24);
  fields.words.UnitRevision = bigEndianWord(data, 26);
  fields.words.checkWords = {bigEndianWord(data, 324), bigEndianWord(data, 326)};
  if (imageModel) {
    fields.words.usbModelByte = byteAt(data, 35);
    fields.words.usbCodeField = byteText(data, 32, 4);
  }
  return fields;
}

std::uint32_t uploadTimeStampFor(const platform::LocalDateTime& local) {
  static constexpr int kDaysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const int month = std::clamp(local.month, 1, 12);
  std::int64_t days = kDaysBeforeMonth[month - 1] + local.day + 365LL * local.year + (local.year - 1969) / 4 - 719051;
  if (month >= 3 && local.year % 4 == 0) ++days;
  const std::int64_t seconds = ((days * 24 + local.hour) * 60 + local.minute) * 60 + local.second + 1;
  return static_cast<std::uint32_t>(seconds);
}

// ---- the drive ----

std::optional<fs::path> TKadMain::locateUnitDrive(bool reportWrongPurpose) {
  const EquipmentModel model = normalizedModel(currentModel.load());
  const std::string name = exchangeFileName(model, form["chkSelModulos"].checked());
  std::error_code error;
  for (const fs::path& root : platform::removableDriveRoots()) {
    if (!fs::is_directory(root, error)) continue;
    if (fs::exists(root / name, error)) return root;
    if (model == EquipmentModel::CATV) {
      if (reportWrongPurpose) {
        dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgUsbWrongPurpose), ui::Buttons::Ok,
                             ui::Icon::Error);
      }
      return fs::path();
    }
  }
  return std::nullopt;
}

bool TKadMain::FindUnitDrive() {
  const auto root = locateUnitDrive(true);
  if (!root) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgUsbUnitNotFound), ui::Buttons::Ok, ui::Icon::Error);
    return false;
  }
  if (root->empty()) return false;  // wrong purpose, already said
  usb.unitDriveRoot = *root;
  return true;
}

// ---- the unit's file ----

bool TKadMain::ReadUnitFile() {
  if (connection.connectionClosed) return false;
  const EquipmentModel model = normalizedModel(currentModel.load());
  const bool imageModel = isImageModel(model);
  if ((form["chkSelModulos"].checked() && imageModel) || model == EquipmentModel::CPU206) return true;

  const fs::path file = usb.unitDriveRoot / kExchangeFile;
  std::error_code error;
  if (!fs::is_regular_file(file, error)) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgCouldNotOpenFile), ui::Buttons::Ok, ui::Icon::Error);
    return false;
  }
  const auto data = platform::readUncached(file, kUnitFileReadBytes);
  if (!data || data->size() < kMinUnitFileBytes) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgReadUnitError), ui::Buttons::Ok, ui::Icon::Error);
    return false;
  }
  if (imageModel) usb.unitPreservedArea = *data;
  if (usb.readHeaderRequested.exchange(false) && !imageModel) {
    std::copy_n(data->begin(), usb.record.unitHeader.size(), usb.record.unitHeader.begin());
  }
  if (!usb.readIdentityRequested.exchange(false)) return true;

  const UnitFileFields fields = parseUnitFile(*data, imageModel);
  showUnitValue("EditNomeCliente", fields.clientName);
  showUnitValue("MaskNSerie", fields.serialNumber);
  showUnitValue("EditCPU", fields.cpuVersion);
  showUnitValue("EditEquip", fields.equipVersion);
  if (imageModel) {
    showUnitValue("EditSliver", fields.sliver);
  } else {
    showUnitValue("EditBateria", fields.batteryVersion);
  }
  showUnitValue("EditTipoHard", fields.hardwareType);
  for (const char* bar : {"ProgressAtual", "ProgressTotal"}) form[bar].setPosition(form[bar].position() + 1);
  updatePercentLabels();
  const bool familyCode202 = unitIdentity.FamilyCode202;
  unitIdentity = fields.words;
  unitIdentity.FamilyCode202 = familyCode202;
  pageChecks.unitHardwareType = fields.hardwareTypeWord;
  pageChecks.unitHardwareTypeText = fields.hardwareType;

  if (!CheckUnitMatchesModel()) return false;
  personalData.unitWords112To127 = fields.words112To127;
  personalData.unitWords128To136 = fields.words128To136;
  personalData.moduleWord = fields.moduleWord;
  // The slots follow the word even where the grid does not look at them (new hardware), so
  // page 0 gives the unit back its own module word.
  personalData.moduleSlots = unpackModuleWord(fields.moduleWord);
  personalData.calibrationWords = fields.calibrationWords;
  if (!ReadInstalledModules()) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgModulesCheckError), ui::Buttons::Ok,
                         ui::Icon::Error);
    appendLog(text(TextId::MsgModulesCheckError));
    return false;
  }
  form["StringGrid"].setEnabled(true);
  return true;
}

bool TKadMain::unitDriveStillThere() {
  const auto root = locateUnitDrive(false);
  return root && *root == usb.unitDriveRoot;
}

bool TKadMain::failUsbWait(TextId message) {
  EndConnection();
  dialogs().messageBox(text(TextId::TitleError), text(message), ui::Buttons::Ok, ui::Icon::Error);
  return false;
}

bool TKadMain::WaitForUnitToTakeRecord() {
  appendLog(text(TextId::MsgWaitingConfirmation));
  for (int poll = 0;; ++poll) {
    if (usb.record.unitHeader[0] != kRecordWaiting) return true;
    if (connection.connectionClosed) return false;
    clock().sleepFor(kUsbPollInterval);
    // A drive that has gone away is a broken link, not an unreadable file.
    std::error_code error;
    if (!fs::exists(usb.unitDriveRoot / kExchangeFile, error)) {
      if (connection.connectionClosed) return false;
      return failUsbWait(TextId::MsgCommErrorRetry);
    }
    usb.readHeaderRequested = true;
    if (!ReadUnitFile()) {
      EndConnection();
      return false;
    }
    if (poll >= kFirstDriveCheckPoll && !unitDriveStillThere()) return failUsbWait(TextId::MsgCommErrorRetry);
    if (poll >= kLastPoll && usb.record.unitHeader[0] == kRecordWaiting) return failUsbWait(TextId::MsgUnitNotResponding);
  }
}

void TKadMain::TakeUploadTimeStamp() { usb.uploadTimeStamp = uploadTimeStampFor(clock().localNow()); }

// ---- the upload ----

void TKadMain::setRecordFlags(int pageNumber, bool first, bool last, std::uint16_t timeStampHalf) {
  usb.record.pageNumber = static_cast<std::uint8_t>(pageNumber);
  usb.record.firstRecord = first;
  usb.record.lastRecord = last;
  usb.record.timeStampHalf = timeStampHalf;
}

void TKadMain::stepTotalProgress() {
  auto& total = form["ProgressTotal"];
  total.setPosition(total.position() + 1);
  updatePercentLabels();
}

void TKadMain::fillBothProgressBars() {
  for (const char* bar : {"ProgressAtual", "ProgressTotal"}) form[bar].setPosition(form[bar].max());
  updatePercentLabels();
}

bool TKadMain::RunUsbUpload() {
  const EquipmentModel model = normalizedModel(currentModel.load());
  const bool synchronised = form["chkDataHora"].checked();
  if (isLineTesterOrTimModel(model) && synchronised) TakeUploadTimeStamp();
  const std::uint16_t firstHalf = firstRecordTimeStampHalf(usb.uploadTimeStamp, synchronised);
  const std::uint16_t laterHalf = laterRecordTimeStampHalf(usb.uploadTimeStamp);
  const fs::path pageSetDir = pageSet.pageSetDir;
  const std::string ramProgram(isTimModel(model) ? kTimRamProgram : kSerialRamProgram);

  if (form["chkPageX"].checked()) {
    const auto page = pageNumberFromText(form["EditPag"].text());
    if (!page) {
      dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgInvalidPageNumber), ui::Buttons::Ok,
                           ui::Icon::Error);
      return false;
    }
    form["ProgressTotal"].setMax(20);
    stepTotalProgress();
    setRecordFlags(0, true, false, firstHalf);
    if (connection.connectionClosed || !LoadPageFile(programDir() / ramProgram)) return false;
    stepTotalProgress();
    if (!WaitForUnitToTakeRecord()) return false;
    setRecordFlags(*page, false, true, laterHalf);
    if (!LoadPageFile(pageFilePath(pageSetDir, *page))) return false;
    fillBothProgressBars();
    return true;
  }
  if (!form["chkAllPages"].checked() && !form["chkGravComPagCalib"].checked()) return true;

  const SequenceKind kind = sequenceKind(model, LinkMode::USB);
  if (kind == SequenceKind::BinaryImage) return runUsbImageUpload(model);
  if (kind != SequenceKind::LineTesterPages && kind != SequenceKind::TimPages) {
    EndConnection();
    return true;
  }

  SequenceRequest request;
  request.model = model;
  request.link = LinkMode::USB;
  request.profile = profile();
  request.hardwareTypeText = form["EditTipoHard"].text();
  request.withCalibrationPage = form["chkGravComPagCalib"].checked();
  if (kind == SequenceKind::LineTesterPages && chooseLayout(LinkMode::USB, request.hardwareTypeText) ==
                                                   PageLayout::FifteenPagesWithModules) {
    BuildModuleWord();
  }
  request.moduleSlots = personalData.moduleSlots;
  const PageSequence sequence = buildPageSequence(request);
  form["ProgressTotal"].setMax(sequence.totalProgressMax);

  for (const PageStep& step : sequence.steps) {
    if (step.firstRecord) {
      setRecordFlags(0, true, false, firstHalf);
      if (connection.connectionClosed) return false;
    } else {
      if (step.part != PagePart::SecondHalf) stepTotalProgress();
      if (!WaitForUnitToTakeRecord()) return false;
      setRecordFlags(step.recordPage, false, false, laterHalf);
    }
    if (!LoadPageFile(step.path(programDir(), pageSetDir))) return false;
    if (step.part == PagePart::SecondHalf) {
      // The companion half is written: the next "x50r.tag" starts a new pair.
      pageSet.x50rLoaded = false;
      pageSet.halfPending = false;
    }
  }
  if (!WaitForUnitToTakeRecord()) return false;
  stepTotalProgress();
  setRecordFlags(0, false, true, laterHalf);
  if (!LoadPageFile(pageSetDir / kPageZeroFile)) return false;
  fillBothProgressBars();
  EndConnection();
  return true;
}

bool TKadMain::runUsbImageUpload(EquipmentModel model) {
  const bool selectModules = form["chkSelModulos"].checked();
  const fs::path source =
      selectModules ? fs::path(calibrationFile[static_cast<std::size_t>(model)]) : pageSet.pageSetDir / kProgramImageFile;
  std::error_code error;
  if (source.empty() || !fs::is_regular_file(source, error)) {
    EndConnection();
    const std::string message = text(TextId::MsgTheFile) + std::string(kProgramImageFile) +
                                text(TextId::MsgNotFoundAborted) + "\n" + text(TextId::MsgCheckFolderPrefix) +
                                pageSet.pageSetDir.string() + text(TextId::MsgHaveProperFiles);
    dialogs().messageBox(text(TextId::TitleError), message, ui::Buttons::Ok, ui::Icon::Error);
    return false;
  }
  const bool written = BuildAndWriteProgramImage(source);
  EndConnection();
  return written;
}

}  // namespace kad
