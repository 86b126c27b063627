#include "online/update_check.h"

#include <array>

#include "online/version_list.h"
#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad::online {

std::vector<std::string> parseEquipmentList(std::string_view list) {
  std::vector<std::string> types;
  const auto marker = list.find("$0");
  std::size_t entry = marker == std::string_view::npos ? 0 : marker + 1;
  while (entry < list.size()) {
    const auto dot = list.find('.', entry);
    if (dot == std::string_view::npos) break;
    types.emplace_back(list.substr(entry + 1, dot > entry ? dot - entry - 1 : 0));
    entry = dot + 1;
  }
  return types;
}

}  // namespace kad::online

namespace kad {

namespace {

using enum EquipmentModel;
using online::VersionRow;

// The models the check compares, in this order.
struct ModelUpdate {
  VersionRow row;  // online text and local [Version] key
  TextId question;
  TextId logLine;
  const char* equipmentKey;
  EquipmentModel target;
};

constexpr std::array<ModelUpdate, 12> kModelUpdates = {{
    {online::RowE1, TextId::MsgAskNewSoftwareE1, TextId::MsgUpdatingFilesE1, config::kHardE1, E1},
    {online::RowTIM, TextId::MsgAskNewSoftwareTIM, TextId::MsgUpdatingFilesTIM, config::kHardTim, TIM},
    {online::RowTIMSK, TextId::MsgAskNewSoftwareTIMSK, TextId::MsgUpdatingFilesTIMSK, config::kHardTimsk, TIMSK},
    {online::RowDSL2, TextId::MsgAskNewSoftwareDSL2, TextId::MsgUpdatingFilesDSL2, config::kHardDsl2, DSL2},
    {online::RowTP, TextId::MsgAskNewSoftwareTP, TextId::MsgUpdatingFilesTP, config::kHardTp, TP},
    {online::RowCATV, TextId::MsgAskNewSoftwareCATV, TextId::MsgUpdatingFilesCATV, config::kHardCatv, CATV},
    {online::RowMegometro, TextId::MsgAskNewSoftwareMeg, TextId::MsgUpdatingFilesMeg, config::kHardMegometro,
     MEGOMETRO},
    {online::RowOTDR, TextId::MsgAskNewSoftwareOTDR150, TextId::MsgUpdatingFilesOTDR150, config::kHardOtdr, OTDR},
    {online::RowOTDR160, TextId::MsgAskNewSoftwareOTDR160, TextId::MsgUpdatingFilesOTDR160, config::kHardOtdr,
     OTDR160},
    {online::RowOTDR170, TextId::MsgAskNewSoftwareOTDR170, TextId::MsgUpdatingFilesOTDR170, config::kHardOtdr,
     OTDR170},
    {online::RowOPM, TextId::MsgAskNewSoftwareOPM, TextId::MsgUpdatingFilesOPM, config::kHardOpm, OPM},
    {online::RowFirmware, TextId::MsgAskNewSoftwareFirmware, TextId::MsgUpdatingFilesFirmware, config::kFirmCpu206,
     CPU206},
}};

constexpr const char* kUpdaterProgram = "kad-updater";

}  // namespace

void TKadMain::Atualiz_AgoraClick(bool fromMenu) {
  updateCheck.programCheckArmed = true;
  if (!fromMenu) updateCheck.reportResult = false;
  funcaoAtualizaSoftware();
}

void TKadMain::funcaoAtualizaSoftware() {
  auto& state = updateCheck;
  const auto& online = versions.online;
  const auto& local = versions.local;
  const auto differs = [&](int row) { return online[row] != local[row] && !local[row].empty() && !online[row].empty(); };
  const auto confirmed = [&](TextId question) {
    return !state.askBeforeDownload ||
           dialogs().messageBox(text(TextId::TitleInformation), text(question), ui::Buttons::YesNo,
                                ui::Icon::Information) == ui::Answer::Yes;
  };

  versoesEquipamentosOnline();

  bool nothingToDo = state.reportResult && online[online::RowKad].empty() &&
                     online[online::RowProgram] == local[online::RowProgram];
  for (const auto& model : kModelUpdates) {
    nothingToDo = nothingToDo && (online[model.row] == local[model.row] || local[model.row].empty());
  }
  if (nothingToDo) {
    dialogs().messageBox(text(TextId::TitleInformation), text(TextId::MsgNoUpdates), ui::Buttons::Ok,
                         ui::Icon::Information);
  } else {
    // The program itself: the updater replaces it; this run still goes on meanwhile.
    if (state.programCheckArmed && differs(online::RowProgram) && confirmed(TextId::MsgAskNewProgram)) {
      loop().quit();
      processes().start(programDir() / kUpdaterProgram, {}, programDir());
    }

    bool success = true;
    for (const auto& model : kModelUpdates) {
      if (!success) break;
      if (!differs(model.row) || !confirmed(model.question)) continue;
      success = false;
      state.reportResult = true;
      const auto list = brandIni().readString(config::kEquipment, model.equipmentKey, "");
      if (!list.empty()) {
        appendLog(text(model.logLine));
        // A list with no complete entry downloads nothing and leaves the run failed.
        for (const auto& type : online::parseEquipmentList(list)) {
          success = downloadPackage(model.target, type);
          if (!success) break;
        }
      }
      if (success) {
        appendLog(text(TextId::MsgUpdateFinished));
        brandIni().writeString(config::kVersion, online::kVersionEntries[model.row].localKey, online[model.row]);
      }
    }

    if (state.reportResult) {
      if (success) {
        dialogs().messageBox(text(TextId::TitleInformation), text(TextId::MsgLocalFilesUpdated), ui::Buttons::Ok,
                             ui::Icon::Information);
      } else {
        appendLog(text(TextId::MsgUpdateFailed));
        dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgUpdateFailedInternet), ui::Buttons::Ok,
                             ui::Icon::Information);
      }
    }
  }
  state = online::UpdateCheckState{};
}

}  // namespace kad
