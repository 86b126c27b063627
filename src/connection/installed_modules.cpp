// The "Módulos Instalados" grid: which modules the unit has, and the operator's choice of
// extra modules for the E1 and T1 models.
#include "connection/installed_modules.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "shell/kad_main.h"

namespace kad {
namespace {

constexpr std::array<const char*, 15> kE1Modules = {
    "Frame Relay", "Frame Relay Plus", "PPP",  "PPP Plus",    "MFC-R2",     "VT100",      "SLIP Monitor", "X.25",
    "X.50",        "HDLC-CISCO",       "DTMF", "ISDN",        "Dual Tx/ Rx", "Pulse Mask", "ETHERNET"};
constexpr std::array<const char*, 11> kT1Modules = {"Frame Relay", "Frame Relay Plus", "PPP",        "PPP Plus",
                                                     "VT100",       "SLIP Monitor",     "X.25",       "HDLC-CISCO",
                                                     "Dual Tx/ Rx", "Pulse Mask",       "ETHERNET"};
constexpr std::array<const char*, 3> kTimModules = {"Frequency Response", "Longitudinal Balance", "DTMF"};
constexpr std::array<const char*, 6> kTpModules = {"IPTV", "SGW", "Certification", "Power Meter", "Wifi",
                                                    "Gprs browser"};
constexpr int kE1FirstExtraRow = 7;
constexpr int kT1FirstExtraRow = 6;
// T1 rows 6 to 10 hold these module indices.
constexpr std::array<int, 5> kT1ExtraIndices = {0, 2, 5, 6, 7};
constexpr int kMaxExtraModules = 4;
constexpr int kInstalledColumn = 1;

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

bool oneOf(const std::string& type, std::initializer_list<const char*> types) {
  return std::any_of(types.begin(), types.end(), [&](const char* t) { return type == t; });
}

bool isLineTester(EquipmentModel model) { return model == EquipmentModel::E1 || model == EquipmentModel::T1; }

int firstExtraRow(EquipmentModel model) { return model == EquipmentModel::T1 ? kT1FirstExtraRow : kE1FirstExtraRow; }

// The module index shown in an extra row, or -1.
int extraIndexOfRow(EquipmentModel model, int row) {
  if (model == EquipmentModel::E1) return row >= kE1FirstExtraRow && row < 15 ? row - kE1FirstExtraRow : -1;
  if (model == EquipmentModel::T1 && row >= kT1FirstExtraRow && row < 11) {
    return kT1ExtraIndices[static_cast<std::size_t>(row - kT1FirstExtraRow)];
  }
  return -1;
}

}  // namespace

bool InstalledModules::takeSkipNextTpListing() {
  std::lock_guard lock(mutex_);
  return std::exchange(skipNextTpListing_, false);
}

void InstalledModules::setSkipNextTpListing(bool skip) {
  std::lock_guard lock(mutex_);
  skipNextTpListing_ = skip;
}

void InstalledModules::setLastMouseCell(int col, int row) {
  std::lock_guard lock(mutex_);
  mouseCol_ = col;
  mouseRow_ = row;
}

std::pair<int, int> InstalledModules::lastMouseCell() const {
  std::lock_guard lock(mutex_);
  return {mouseCol_, mouseRow_};
}

bool isNewHardware(std::string_view hardwareTypeText) {
  return oneOf(lower(hardwareTypeText), {"mc", "nc", "oc", "pc"});
}

bool extraModuleAllowed(int row, std::string_view hardwareTypeText) {
  const std::string type = lower(hardwareTypeText);
  const bool singleLetter = type.size() == 1;
  switch (row) {
    case 11: return !oneOf(type, {"nd", "od", "pd"});
    case 12: return !(singleLetter && type[0] >= 'a' && type[0] <= 'l') && !oneOf(type, {"nd", "od", "pd"});
    case 13:
      return !(singleLetter && type[0] >= 'a' && type[0] <= 'i') &&
             !oneOf(type, {"k", "l", "la", "ma", "na", "nd", "oa", "od", "pa", "pd"});
    case 14: return !oneOf(type, {"a", "b", "c", "f", "h", "j"});
    default: return true;
  }
}

ModuleSlots unpackModuleWord(std::uint16_t moduleWord) {
  return {moduleWord >> 12 & 0xF, moduleWord >> 8 & 0xF, moduleWord >> 4 & 0xF, moduleWord & 0xF};
}

ModuleSlots validatedSlots(EquipmentModel model, ModuleSlots slots) {
  const bool valid = slots[0] < slots[1] && slots[1] < slots[2] && slots[2] < slots[3] && slots[0] <= 4 &&
                     slots[1] >= 1 && slots[1] <= 5 && slots[2] >= 2 && slots[2] <= 6 && slots[3] >= 3 &&
                     slots[3] <= 7;
  if (valid) return slots;
  if (model == EquipmentModel::T1) return {0, 2, 5, 6};
  // E1 keeps a set whose first slot is not 0 as the unit reported it.
  return slots[0] != 0 ? slots : ModuleSlots{4, 5, 6, 7};
}

int extraModuleRow(EquipmentModel model, int index) {
  if (model == EquipmentModel::E1) return index >= 0 && index <= 7 ? kE1FirstExtraRow + index : -1;
  if (model == EquipmentModel::T1) {
    const auto it = std::find(kT1ExtraIndices.begin(), kT1ExtraIndices.end(), index);
    return it == kT1ExtraIndices.end() ? -1 : kT1FirstExtraRow + static_cast<int>(it - kT1ExtraIndices.begin());
  }
  return -1;
}

void TKadMain::resetModuleGrid() {
  auto& grid = form["StringGrid"];
  grid.setRowCount(0);
  grid.setRowCount(1);
}

bool TKadMain::ReadInstalledModules() {
  const EquipmentModel model = normalizedModel(currentModel.load());
  const std::string type = pageChecks.unitHardwareTypeText;
  auto& grid = form["StringGrid"];
  const auto fill = [&](const std::vector<std::string>& names) {
    grid.setRowCount(0);
    grid.setRowCount(static_cast<int>(names.size()));
    for (int row = 0; row < static_cast<int>(names.size()); ++row) {
      grid.setCell(0, row, names[static_cast<std::size_t>(row)]);
      grid.setCell(kInstalledColumn, row, text(TextId::TxtYes));
    }
  };

  switch (model) {
    case EquipmentModel::OTDR: {
      std::vector<std::string> rows = {"OPM", "SLS"};
      if (!oneOf(lower(type), {"c1", "c2", "c3", "c4"})) rows.emplace_back("VFL");
      fill(rows);
      break;
    }
    case EquipmentModel::E1:
    case EquipmentModel::T1: {
      const std::vector<std::string> names = model == EquipmentModel::E1
                                                 ? std::vector<std::string>(kE1Modules.begin(), kE1Modules.end())
                                                 : std::vector<std::string>(kT1Modules.begin(), kT1Modules.end());
      fill(names);
      if (isNewHardware(type)) break;
      for (int row = firstExtraRow(model); row < static_cast<int>(names.size()); ++row) {
        grid.setCell(kInstalledColumn, row, text(TextId::TxtNo));
      }
      const ModuleSlots slots = validatedSlots(model, unpackModuleWord(personalData.moduleWord));
      personalData.moduleSlots = slots;
      for (const int index : slots) {
        const int row = extraModuleRow(model, index);
        if (row < 0) {
          appendLog(text(TextId::MsgExtraModulesError));
          continue;
        }
        grid.setCell(kInstalledColumn, row, text(TextId::TxtYes));
        moduleFlags[index] = true;
      }
      break;
    }
    case EquipmentModel::TIM: fill({kTimModules.begin(), kTimModules.end()}); break;
    case EquipmentModel::TP:
      if (moduleGrid.takeSkipNextTpListing()) break;
      fill({kTpModules.begin(), kTpModules.end()});
      break;
    default: break;
  }
  return true;
}

void TKadMain::StringGridMouseUp(int col, int row) { moduleGrid.setLastMouseCell(col, row); }

void TKadMain::StringGridDblClick() {
  const auto [col, row] = moduleGrid.lastMouseCell();
  if (col != kInstalledColumn || row < 0) return;
  const EquipmentModel model = normalizedModel(currentModel.load());
  const auto warn = [&](TextId id) {
    dialogs().messageBox(text(TextId::TitleWarning), text(id), ui::Buttons::Ok, ui::Icon::Warning);
  };

  if (form["chkPageX"].checked()) {
    if (row > 6) warn(TextId::MsgModulesOnePage);
    return;
  }
  const std::string type = pageChecks.unitHardwareTypeText;
  auto& grid = form["StringGrid"];
  if (isLineTester(model) && !isNewHardware(type)) {
    if (row >= grid.rowCount()) return;
    const int index = extraIndexOfRow(model, row);
    if (index < 0) {
      warn(TextId::MsgModuleNotRemovable);
      return;
    }
    if (model == EquipmentModel::E1 && !extraModuleAllowed(row, type)) {
      warn(TextId::MsgIncompatibleHardware);
      return;
    }
    if (moduleFlags[index]) {
      moduleFlags[index] = false;
      grid.setCell(kInstalledColumn, row, text(TextId::TxtNo));
    } else if (std::count(std::begin(moduleFlags), std::end(moduleFlags), true) >= kMaxExtraModules) {
      warn(TextId::MsgMaxFourModules);
    } else {
      moduleFlags[index] = true;
      grid.setCell(kInstalledColumn, row, text(TextId::TxtYes));
    }
    return;
  }
  if ((model == EquipmentModel::TIM && row <= 2) || (model == EquipmentModel::TP && row <= 5)) {
    warn(TextId::MsgModuleNotRemovable);
  }
}

ui::ItemStyle TKadMain::StringGridDrawCell(int col, int row) const {
  const std::string cell = form["StringGrid"].cell(col, row);
  if (cell.empty()) return {};
  const EquipmentModel model = normalizedModel(currentModel.load());
  if (cell == text(TextId::TxtYes)) {
    const bool extra = isLineTester(model) && !isNewHardware(pageChecks.unitHardwareTypeText) &&
                       row >= firstExtraRow(model);
    return {ui::colors::White, extra ? ui::colors::Green : ui::colors::Blue};
  }
  if (cell == text(TextId::TxtNo)) return {ui::colors::White, ui::colors::Red};
  return {};
}

}  // namespace kad
