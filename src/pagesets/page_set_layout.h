#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_mode.h"
#include "models/equipment_model.h"
#include "pagesets/personal_data.h"
#include "shell/profile.h"

namespace kad {

// Fixed files of the program directory.
inline constexpr std::string_view kSerialRamProgram = "user.tag";
inline constexpr std::string_view kTimRamProgram = "flash_r2.tag";
inline constexpr std::string_view kEthernetRamProgram = "bootgra.tag";
// Named files of a page set.
inline constexpr std::string_view kPageZeroFile = "page0.tag";
inline constexpr std::string_view kPage12SecondHalfFile = "page25.tag";
inline constexpr std::string_view kX50rFile = "x50r.tag";
inline constexpr std::string_view kX50cFile = "x50c.tag";
inline constexpr std::string_view kProgramImageFile = "programa_principal.bin";
// The USB record number of every second half.
inline constexpr int kSecondHalfRecordPage = 25;

// What the page-set folder of the current upload is, as chosen by the write preparation.
struct PageSetState {
  std::filesystem::path pageSetDir;  // PageSetDir
  int currentPage = 0;                // CurrentPage
  bool x50rLoaded = false;            // X50rLoaded
  bool halfPending = false;           // HalfPending
};

// The file of module index 0 to 7, or empty for any other index.
std::string modulePageFile(int index);
// A module page: the module's file in the page set, or the page-set folder itself for an
// index that names no file (its load then fails with the folder's path).
std::filesystem::path modulePagePath(const std::filesystem::path& pageSetDir, int index);
std::filesystem::path pageFilePath(const std::filesystem::path& pageSetDir, int pageNumber);
std::string pageFileName(int pageNumber);

// RQV527E1 and RQV527T1 come in two layouts, chosen by the unit's hardware type.
enum class PageLayout { TwentyPages, FifteenPagesWithModules };
PageLayout chooseLayout(LinkMode link, std::string_view hardwareTypeText);

// How a model is written on one link.
enum class SequenceKind { None, LineTesterPages, Dsl2Pages, TimPages, BinaryImage };
SequenceKind sequenceKind(EquipmentModel model, LinkMode link);

enum class PageSource { ProgramDirectory, PageSet };
enum class PagePart { Whole, FirstHalf, SecondHalf };

// One load-and-write of an all-pages upload.
struct PageStep {
  PageSource source = PageSource::PageSet;
  std::string fileName;   // "page7.tag", "x50r.tag", "user.tag"
  int page = 0;           // CurrentPage (the TIM file number divided by 2)
  int recordPage = 0;     // the number a USB record announces (the first record repeats the unit's)
  PagePart part = PagePart::Whole;
  bool firstRecord = false;        // the RAM program that opens a USB upload
  bool checkHardwareType = false;  // serial and Ethernet links, except the TIM calibration page

  // FLASH bank: page n is banks 2n and 2n + 1.
  int bank() const { return part == PagePart::SecondHalf ? 2 * page + 1 : 2 * page; }
  std::filesystem::path path(const std::filesystem::path& programDir, const std::filesystem::path& pageSetDir) const;
  bool operator==(const PageStep&) const = default;
};

struct SequenceRequest {
  EquipmentModel model = EquipmentModel::E1;
  LinkMode link = LinkMode::USB;
  ProfileKind profile = ProfileClient;
  std::string hardwareTypeText;  // EditTipoHard
  int startPage = 0;             // 0: from the model's first page; else a resumed serial upload
  bool withCalibrationPage = false;  // "Gravar c/ Pag. Calib."
  ModuleSlots moduleSlots{};
};

struct PageSequence {
  SequenceKind kind = SequenceKind::None;
  PageLayout layout = PageLayout::TwentyPages;  // of the line testers
  std::vector<PageStep> steps;  // page 0 follows every sequence and is not part of it
  int totalProgressMax = 0;
};

// The pages of an all-pages upload, in order. For the 15-page layout the module slots are
// rebuilt from the selection (buildModuleWord) before the sequence is built.
PageSequence buildPageSequence(const SequenceRequest& request);

}  // namespace kad
