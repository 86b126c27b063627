#include "pagesets/page_set_layout.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kad {

namespace {

constexpr std::array<std::string_view, 8> kModuleFiles = {"x25.tag", "x50r.tag", "chdlc.tag", "dtmf.tag",
                                                          "isdn.tag", "tc3.tag",  "pms.tag",   "eth.tag"};

// How each model is written on each link, one row per model.
struct SequenceRow {
  EquipmentModel model;
  SequenceKind ethernet;
  SequenceKind serial;
  SequenceKind usb;
};

constexpr std::array<SequenceRow, kModelCount> kSequenceTable = {{
    {EquipmentModel::OPM, SequenceKind::None, SequenceKind::None, SequenceKind::BinaryImage},
    {EquipmentModel::OTDR, SequenceKind::None, SequenceKind::None, SequenceKind::BinaryImage},
    {EquipmentModel::OTDR160, SequenceKind::None, SequenceKind::None, SequenceKind::BinaryImage},
    {EquipmentModel::OTDR170, SequenceKind::None, SequenceKind::None, SequenceKind::BinaryImage},
    {EquipmentModel::E1, SequenceKind::LineTesterPages, SequenceKind::LineTesterPages, SequenceKind::LineTesterPages},
    {EquipmentModel::T1, SequenceKind::LineTesterPages, SequenceKind::LineTesterPages, SequenceKind::LineTesterPages},
    {EquipmentModel::TIM, SequenceKind::None, SequenceKind::TimPages, SequenceKind::TimPages},
    {EquipmentModel::TIMSK, SequenceKind::None, SequenceKind::TimPages, SequenceKind::TimPages},
    {EquipmentModel::DSL2, SequenceKind::Dsl2Pages, SequenceKind::Dsl2Pages, SequenceKind::None},
    {EquipmentModel::CATV, SequenceKind::None, SequenceKind::None, SequenceKind::BinaryImage},
    {EquipmentModel::MEGOMETRO, SequenceKind::None, SequenceKind::None, SequenceKind::BinaryImage},
    {EquipmentModel::TP, SequenceKind::None, SequenceKind::None, SequenceKind::None},
    {EquipmentModel::CPU206, SequenceKind::None, SequenceKind::None, SequenceKind::BinaryImage},
}};

constexpr bool rowsInModelOrder() {
  for (std::size_t i = 0; i < kSequenceTable.size(); ++i) {
    if (static_cast<std::size_t>(kSequenceTable[i].model) != i) return false;
  }
  return true;
}
static_assert(rowsInModelOrder(), "one row per model, in model code order");

// Total progress maximum of each sequence: serial and Ethernet links, then USB.
struct ProgressRow {
  int wired;
  int usb;
};
constexpr ProgressRow kTwentyPageProgress{42, 21};
constexpr ProgressRow kFifteenPageProgress{32, 16};
constexpr ProgressRow kDsl2Progress{14, 0};
constexpr ProgressRow kTimProgress{16, 8};
constexpr int kTimCalibrationPageProgress = 2;  // serial: 18 with the calibration page; USB: 9
constexpr int kTimCalibrationFile = 6;

constexpr int kLastLineTesterPage20 = 20;
constexpr int kLastLineTesterPage15 = 15;
constexpr int kLastDsl2Page = 13;
constexpr int kLastTimFile = 16;
constexpr int kSplitPage = 12;

// The pages of the 15-page layout that hold the module in slot 1 to 4.
constexpr std::array<int, 4> kModulePages = {9, 12, 13, 14};

PageStep pageStep(int page, bool wired) {
  PageStep step;
  step.fileName = pageFileName(page);
  step.page = page;
  step.recordPage = page;
  step.checkHardwareType = wired;
  return step;
}

PageStep secondHalf(std::string_view fileName, int page, bool wired) {
  PageStep step;
  step.fileName = std::string(fileName);
  step.page = page;
  step.recordPage = kSecondHalfRecordPage;
  step.part = PagePart::SecondHalf;
  step.checkHardwareType = wired;
  return step;
}

PageStep ramProgram(std::string_view fileName) {
  PageStep step;
  step.source = PageSource::ProgramDirectory;
  step.fileName = std::string(fileName);
  step.firstRecord = true;
  return step;
}

void addLineTesterPages(PageSequence& sequence, const SequenceRequest& request, int start, bool wired) {
  if (!wired) sequence.steps.push_back(ramProgram(kSerialRamProgram));
  if (sequence.layout == PageLayout::TwentyPages) {
    for (int page = start; page <= kLastLineTesterPage20; ++page) {
      PageStep step = pageStep(page, wired);
      if (page == kSplitPage) step.part = PagePart::FirstHalf;
      sequence.steps.push_back(step);
      if (page == kSplitPage) sequence.steps.push_back(secondHalf(kPage12SecondHalfFile, page, wired));
    }
    return;
  }
  for (int page = start; page <= kLastLineTesterPage15; ++page) {
    PageStep step = pageStep(page, wired);
    const auto modulePage = std::find(kModulePages.begin(), kModulePages.end(), page);
    if (modulePage == kModulePages.end()) {
      sequence.steps.push_back(step);
      continue;
    }
    const int module = request.moduleSlots[static_cast<std::size_t>(modulePage - kModulePages.begin())];
    step.fileName = modulePageFile(module);
    const bool x50r = step.fileName == kX50rFile;
    if (x50r) step.part = PagePart::FirstHalf;
    sequence.steps.push_back(step);
    if (x50r) sequence.steps.push_back(secondHalf(kX50cFile, page, wired));
  }
}

void addDsl2Pages(PageSequence& sequence, int start) {
  for (int page = start; page <= kLastDsl2Page; ++page) {
    if (page == 5) page = 10;
    if (page == 11) page = 13;
    sequence.steps.push_back(pageStep(page, true));
  }
}

void addTimPages(PageSequence& sequence, const SequenceRequest& request, int start, bool wired) {
  const bool calibrationPage = wired ? request.withCalibrationPage
                                     : request.withCalibrationPage && request.profile == ProfileEngineering;
  if (!wired) sequence.steps.push_back(ramProgram(kTimRamProgram));
  for (int file = start; file <= kLastTimFile; file += 2) {
    if (file == kTimCalibrationFile && !calibrationPage) continue;
    PageStep step = pageStep(file, wired && file != kTimCalibrationFile);
    step.page = file / 2;
    sequence.steps.push_back(step);
  }
  if (calibrationPage) sequence.totalProgressMax += wired ? kTimCalibrationPageProgress : 1;
}

}  // namespace

std::string modulePageFile(int index) {
  if (index < 0 || index >= static_cast<int>(kModuleFiles.size())) return {};
  return std::string(kModuleFiles[static_cast<std::size_t>(index)]);
}

std::filesystem::path modulePagePath(const std::filesystem::path& pageSetDir, int index) {
  const std::string file = modulePageFile(index);
  return file.empty() ? pageSetDir : pageSetDir / file;
}

std::string pageFileName(int pageNumber) { return "page" + std::to_string(pageNumber) + ".tag"; }

std::filesystem::path pageFilePath(const std::filesystem::path& pageSetDir, int pageNumber) {
  return pageSetDir / pageFileName(pageNumber);
}

std::filesystem::path PageStep::path(const std::filesystem::path& programDir,
                                     const std::filesystem::path& pageSetDir) const {
  const auto& dir = source == PageSource::ProgramDirectory ? programDir : pageSetDir;
  // An empty name is a module index that names no file: the folder itself, whose load fails.
  return fileName.empty() ? dir : dir / fileName;
}

PageLayout chooseLayout(LinkMode link, std::string_view hardwareTypeText) {
  std::string type(hardwareTypeText);
  std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::tolower(c); });
  const bool twenty = link == LinkMode::USB ? type == "pc" : (type == "mc" || type == "nc" || type == "oc" || type == "pc");
  return twenty ? PageLayout::TwentyPages : PageLayout::FifteenPagesWithModules;
}

SequenceKind sequenceKind(EquipmentModel model, LinkMode link) {
  const SequenceRow& row = kSequenceTable[static_cast<std::size_t>(normalizedModel(model))];
  switch (link) {
    case LinkMode::Ethernet: return row.ethernet;
    case LinkMode::Serial: return row.serial;
    case LinkMode::USB: return row.usb;
  }
  return row.usb;
}

PageSequence buildPageSequence(const SequenceRequest& request) {
  PageSequence sequence;
  sequence.kind = sequenceKind(request.model, request.link);
  const bool wired = request.link != LinkMode::USB;
  // Only the serial link resumes an interrupted upload.
  const bool resumed = request.link == LinkMode::Serial && request.startPage > 0;
  switch (sequence.kind) {
    case SequenceKind::LineTesterPages: {
      sequence.layout = chooseLayout(request.link, request.hardwareTypeText);
      const ProgressRow& progress =
          sequence.layout == PageLayout::TwentyPages ? kTwentyPageProgress : kFifteenPageProgress;
      sequence.totalProgressMax = wired ? progress.wired : progress.usb;
      addLineTesterPages(sequence, request, resumed ? request.startPage : 1, wired);
      break;
    }
    case SequenceKind::Dsl2Pages:
      sequence.totalProgressMax = kDsl2Progress.wired;
      addDsl2Pages(sequence, resumed ? request.startPage : 1);
      break;
    case SequenceKind::TimPages:
      sequence.totalProgressMax = wired ? kTimProgress.wired : kTimProgress.usb;
      addTimPages(sequence, request, resumed ? request.startPage : 2, wired);
      break;
    case SequenceKind::None:
    case SequenceKind::BinaryImage: break;
  }
  return sequence;
}

}  // namespace kad
