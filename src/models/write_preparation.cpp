// "Gravar páginas": from an identified unit to a running upload thread. Chooses the page
// set, keeps the package bookkeeping, offers downloads and checks every needed file.
#include "models/write_preparation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>

#include "online/update_check.h"
#include "pagesets/page_set_layout.h"
#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad {

namespace fs = std::filesystem;
using enum EquipmentModel;

namespace {

constexpr std::array<WriteModelRow, kModelCount> kWriteModelRows = {{
    {OPM, config::kHardOpm, config::kVerOpm, online::RowOPM, config::kHardOpm, "programa_principal.bin", OPM,
     TextId::MsgAskNewSoftwareOPM, TextId::MsgUpdatingFilesOPM},
    {OTDR, config::kHardOtdr, config::kVerOtdr, online::RowOTDR, config::kHardOtdr, "programa_principal.bin", OTDR,
     TextId::MsgAskNewSoftwareOTDR150, TextId::MsgUpdatingFilesOTDR150},
    {OTDR160, config::kHardOtdr, config::kVer160Otdr, online::RowOTDR160, config::kHardOtdr, "programa_principal.bin",
     OTDR160, TextId::MsgAskNewSoftwareOTDR160, TextId::MsgUpdatingFilesOTDR160},
    {OTDR170, config::kHardOtdr, config::kVer170Otdr, online::RowOTDR170, config::kHardOtdr, "programa_principal.bin",
     OTDR170, TextId::MsgAskNewSoftwareOTDR170, TextId::MsgUpdatingFilesOTDR170},
    {E1, config::kHardE1, config::kVerE1, online::RowE1, config::kHardE1, "page0.tag", E1,
     TextId::MsgAskNewSoftwareE1, TextId::MsgUpdatingFilesE1},
    // T1 shares the E1 package and its version.
    {T1, nullptr, config::kVerE1, online::RowE1, config::kHardE1, "page0.tag", E1, TextId::MsgAskNewSoftwareE1,
     TextId::MsgUpdatingFilesE1},
    {TIM, config::kHardTim, config::kVerTim, online::RowTIM, config::kHardTim, "page0.tag", TIM,
     TextId::MsgAskNewSoftwareTIM, TextId::MsgUpdatingFilesTIM},
    {TIMSK, config::kHardTimsk, config::kVerTimsk, online::RowTIMSK, config::kHardTimsk, "page0.tag", TIMSK,
     TextId::MsgAskNewSoftwareTIMSK, TextId::MsgUpdatingFilesTIMSK},
    {DSL2, config::kHardDsl2, config::kVerDsl2, online::RowDSL2, config::kHardDsl2, "page0.tag", DSL2,
     TextId::MsgAskNewSoftwareDSL2, TextId::MsgUpdatingFilesDSL2},
    {CATV, config::kHardCatv, config::kVerCatv, online::RowCATV, config::kHardCatv, "programa_principal.bin", CATV,
     TextId::MsgAskNewSoftwareCATV, TextId::MsgUpdatingFilesCATV},
    {MEGOMETRO, config::kHardMegometro, config::kVerMegometro, online::RowMegometro, config::kHardMegometro,
     "programa_principal.bin", MEGOMETRO, TextId::MsgAskNewSoftwareMeg, TextId::MsgUpdatingFilesMeg},
    {TP, config::kHardTp, config::kVerTp, online::RowTP, config::kHardTp, nullptr, TP, TextId::MsgAskNewSoftwareTP,
     TextId::MsgUpdatingFilesTP},
    {CPU206, config::kFirmCpu206, config::kHardCpu206, online::RowFirmware, config::kFirmCpu206,
     "programa_principal.bin", CPU206, TextId::MsgAskNewSoftwareFirmware, TextId::MsgUpdatingFilesFirmware},
}};

// The hardware types a model serves and the folder of each, "HARD_" + the type in upper case.
struct TypedFolders {
  EquipmentModel model;
  const char* base;  // "RQV638TIM/"
  std::initializer_list<const char*> types;
};

const TypedFolders kTypedFolders[] = {
    {DSL2, "RQV749DSL2+/", {"i", "h", "g", "f", "e", "d"}},
    {TIM, "RQV638TIM/", {"n", "m", "l", "k", "j", "ia", "i", "h", "g", "f", "e", "d", "c"}},
    {TIMSK, "RQV638TIMSK/", {"a", "b", "c"}},
    {CATV, "RQV851CATV/", {"a", "c", "d"}},
    {MEGOMETRO, "RQV962M/", {"a"}},
    {OTDR, "RQV465OTDR/", {"a", "a1", "a2", "a3", "a4", "b1", "b2", "c", "c1", "c2", "c3", "c4", "d"}},
    {OTDR160, "RQV466OTDR/", {"a"}},
    {OTDR170, "RQV467OTDR/", {"a"}},
};

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

std::string lower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

bool isUsbImageModel(EquipmentModel model) {
  return model == CATV || model == MEGOMETRO || isOtdrModel(model) || model == OPM;
}

bool isPageModel(EquipmentModel model) {
  return model == E1 || model == T1 || model == DSL2 || model == TIM || model == TIMSK;
}

// New E1 and T1 hardware: twenty pages and every extra module built in.
bool isNewLineTesterHardware(std::string_view type) {
  return type == "mc" || type == "nc" || type == "oc" || type == "pc";
}

bool fileExists(const fs::path& file) {
  std::error_code error;
  return fs::is_regular_file(file, error);
}

}  // namespace

const WriteModelRow& writeModelRow(EquipmentModel model) {
  return kWriteModelRows[static_cast<std::size_t>(normalizedModel(model))];
}

std::optional<HardwareFolder> resolveHardwareFolder(EquipmentModel model, std::string_view type, bool familyCode202) {
  switch (normalizedModel(model)) {
    case E1:
      return HardwareFolder{familyCode202 ? "RQV527E1/HARD_TT_PF/" : "RQV527E1/HARD_PF/", "pf"};
    case CPU206:
      return HardwareFolder{"FIRMWARE_E1_TIM/HARD_A/", "a"};
    case TP:
      if (type == "a" || type == "b") return HardwareFolder{"RQV183TP/", std::string(type)};
      return std::nullopt;
    case OPM:
      if (type == "a") return HardwareFolder{"RQV432PPM/HARD_A/", "a"};
      if (type == "c" || type == "d") return HardwareFolder{"RQV431OPM/HARD_" + upper(type) + "/", std::string(type)};
      return std::nullopt;
    default:
      break;
  }
  for (const auto& row : kTypedFolders) {
    if (row.model != normalizedModel(model)) continue;
    for (const char* served : row.types) {
      if (type == served) return HardwareFolder{std::string(row.base) + "HARD_" + upper(type) + "/", served};
    }
  }
  return std::nullopt;
}

std::string addToEquipmentList(const std::string& list, std::string_view entry) {
  if (list.empty()) return "$0" + std::string(entry) + ".";
  if (list.find(entry) != std::string::npos) return list;
  return list + "0" + std::string(entry) + ".";
}

std::string addToTpEquipmentList(const std::string& list) {
  if (list.empty()) return "$0b.";
  if (list.find('a') == std::string::npos) return list + "0a.";
  if (list.find('b') == std::string::npos) return list + "0b.";
  return list;
}

std::vector<std::string> fullPageSetFiles(EquipmentModel model, std::string_view hardwareType) {
  std::vector<std::string> files;
  switch (normalizedModel(model)) {
    case E1:
    case T1:
      if (isNewLineTesterHardware(hardwareType)) {
        for (int page = 0; page <= 20; ++page) files.push_back(pageFileName(page));
        files.emplace_back(kPage12SecondHalfFile);
      } else {
        for (int page = 0; page <= 15; ++page) files.push_back(pageFileName(page));
        const bool t1 = normalizedModel(model) == T1;
        for (const char* module : {"pms.tag", "tc3.tag", "x25.tag", "x50c.tag", "x50r.tag", "isdn.tag", "dtmf.tag",
                                   "eth.tag", "chdlc.tag"}) {
          const std::string_view name = module;
          // The T1 has none of the E1's X.50, ISDN and DTMF modules.
          if (t1 && (name == "x50c.tag" || name == "x50r.tag" || name == "isdn.tag" || name == "dtmf.tag")) continue;
          files.emplace_back(name);
        }
      }
      break;
    case DSL2:
      for (int page : {0, 1, 2, 3, 4, 10, 13}) files.push_back(pageFileName(page));
      break;
    case TIM:
    case TIMSK:
      for (int page = 0; page <= 16; page += 2) files.push_back(pageFileName(page));
      break;
    default:
      break;
  }
  return files;
}

// ---- one run of "Gravar páginas" --------------------------------------------------------

namespace {

constexpr std::string_view kTimWriterFile = "gravafla.tag";
constexpr std::string_view kTpOldUnitFolder = "RQV183TP/HARD_OLD/";
constexpr const char* kTpFileSystemAdvice = "Atualize o equipemento usando\no sistema de arquivos!";

class WritePreparationRun {
 public:
  explicit WritePreparationRun(TKadMain& main)
      : m_(main),
        model_(normalizedModel(main.currentModel.load())),
        row_(writeModelRow(model_)),
        hardwareType_(lower(main["EditTipoHard"].text())) {}

  void run() {
    disableControls();
    if (!writeAllowed()) return stop(TextId::MsgCannotUpgradeNow);
    if (!choosePageSetDir()) return;
    if (hardwareNotServed_) {
      show(TextId::TitleError,
           m_.text(TextId::MsgNoHwVersion) + "\n\n" + m_.text(TextId::MsgContactSupport) + "\n" +
               m_.text(TextId::MsgSupportPhone) + "\n" + m_.text(TextId::TxtMakerWebAddress),
           ui::Icon::Information);
      return reset();
    }
    if (needsDownload_ && !m_.specialMode) lookForLocalCopy();
    if (!modulesComplete()) return;
    resetProgressBars();
    if (model_ == TP) {
      if (!prepareTpPackages()) return;
    } else if (!checkLinkFiles() || !checkPageSetFiles()) {
      return;
    }
    if (m_.writePreparation.startUpload) m_.writePreparation.startUpload();
  }

 private:
  // ---- helpers ----
  std::string text(TextId id) const { return m_.text(id); }
  void show(TextId title, const std::string& message, ui::Icon icon = ui::Icon::None) {
    m_.dialogs().messageBox(text(title), message, ui::Buttons::Ok, icon);
  }
  bool ask(TextId title, const std::string& question) {
    return m_.dialogs().messageBox(text(title), question, ui::Buttons::YesNo, ui::Icon::Question) == ui::Answer::Yes;
  }
  void reset() { m_.EndConnection(); }
  void stop(TextId message) {
    show(TextId::TitleError, text(message), ui::Icon::Error);
    reset();
  }
  fs::path& pageSetDir() { return m_.pageSet.pageSetDir; }
  std::string versionKeyValue() const { return m_.brandIni().readString(config::kVersion, row_.versionKey, ""); }
  const std::string& newestVersion() const { return m_.versions.online[row_.versionRow]; }
  void writeNewestVersion() { m_.brandIni().writeString(config::kVersion, row_.versionKey, newestVersion()); }
  std::string localCopyFolder(const char* key) const {
    return m_.programIni().readString(config::kDiretorioSection, key, "");
  }
  std::string missingFileMessage(const std::string& file, const fs::path& folder, TextId advice) const {
    return text(TextId::MsgTheFile) + file + text(TextId::MsgNotFoundAborted) + "\n" +
           text(TextId::MsgCheckFolderPrefix) + folder.string() + text(advice);
  }
  void logPresent(const std::string& file) { m_.appendLog(file + text(TextId::MsgOkSuffix)); }
  // A missing file ends the run: logged, the connection reset, then shown.
  bool requireFile(const fs::path& folder, const std::string& file, TextId advice) {
    if (fileExists(folder / file)) {
      logPresent(file);
      return true;
    }
    return failMissing(file, folder, advice);
  }
  bool failMissing(const std::string& file, const fs::path& folder, TextId advice) {
    const auto message = missingFileMessage(file, folder, advice);
    m_.appendLog(message);
    reset();
    show(TextId::TitleError, message, ui::Icon::Error);
    return false;
  }
  void resetProgressBars() {
    m_["ProgressAtual"].setPosition(0);
    m_["ProgressTotal"].setPosition(0);
    m_.updatePercentLabels();
  }
  std::string filesNotFound(TextId question) const { return text(TextId::MsgFilesNotFound) + "\n" + text(question); }
  // The folder browser; nothing chosen leaves the connection open for "Cancelar".
  std::optional<fs::path> browseForFolder() {
    auto chosen = m_.getFolderSelection(text(TextId::MsgSearching));
    if (!chosen) {
      m_["ButIniciar"].setEnabled(false);
      m_["ButCancelar"].setEnabled(true);
      return std::nullopt;
    }
    return fs::path(*chosen);
  }

  // ---- step 1 ----
  void disableControls() {
    for (const char* name : {"ButPaginas", "ButEspecial", "ButApagaCampos", "EditNomeCliente", "MaskNSerie",
                             "EditTipoHard", "ComboDir"}) {
      m_[name].setEnabled(false);
    }
    for (const char* edit : kHardwareEdits) m_[edit].setEnabled(false);
    m_.setModuleGridEnabled(false);
  }

  // ---- step 2: the unit's two check words must agree before a customer writes it ----
  bool writeAllowed() const {
    if (m_.profile() == ProfileEngineering) return true;
    if (model_ != E1 && model_ != T1 && model_ != TIM && model_ != DSL2) return true;
    return m_.unitIdentity.checkWords[0] == m_.unitIdentity.checkWords[1];
  }

  // ---- step 3 ----
  bool choosePageSetDir() {
    if (m_.profile() == ProfileEngineering) {
      auto& list = m_["ComboDir"];
      if (list.itemCount() == 0 || list.itemIndex() < 0) {
        show(TextId::TitleWarning, text(TextId::MsgSelectFolder), ui::Icon::Warning);
        m_["ButAdicionar"].setFocus();
        return false;
      }
      pageSetDir() = m_.programIni().readString(list.item(list.itemIndex()), config::kDiretorio,
                                                text(TextId::TitleError));
      return true;
    }
    if (m_.loaderMode) {
      pageSetDir() = m_.writePreparation.serviceModeFile.parent_path();
      return true;
    }
    if (m_["Atualiz_sempre"].checked()) m_.versoesEquipamentosOnline();
    if (model_ == T1) {
      pageSetDir() = m_.programDir().string() + text(TextId::CapModelT1);
      return true;
    }
    if (isUsbImageModel(model_) && !m_.checkUsbModelByte()) return false;  // the check has ended the connection
    resolvePackage();
    return true;
  }

  void resolvePackage() {
    auto& brand = m_.brandIni();
    if (versionKeyValue().empty()) {
      brand.writeString(config::kVersion, row_.versionKey, "0");
      needsDownload_ = true;
    }
    const auto folder = resolveHardwareFolder(model_, hardwareType_, m_.unitIdentity.FamilyCode202);
    if (!folder) {
      hardwareNotServed_ = true;
      return;
    }
    pageSetDir() = m_.programDir() / folder->folder;
    std::error_code error;
    if (!fs::is_directory(pageSetDir(), error)) {
      brand.writeString(config::kVersion, row_.versionKey, "0");
      needsDownload_ = true;
    }
    const auto list = brand.readString(config::kEquipment, row_.equipmentKey, "");
    if (list.empty()) {
      brand.writeString(config::kVersion, row_.versionKey, "0");
      needsDownload_ = true;
    }
    const auto updated = model_ == TP ? addToTpEquipmentList(list) : addToEquipmentList(list, folder->entry);
    if (updated != list) brand.writeString(config::kEquipment, row_.equipmentKey, updated);
    offerNewVersion();
  }

  // Every hardware type of the list is fetched anew; the version moves on only when all came.
  void offerNewVersion() {
    if (needsDownload_ || hardwareNotServed_) return;
    if (m_.brandIni().readString(config::kAtualiza, config::kAutomatico, "") != config::kAutomaticYes) return;
    const auto local = versionKeyValue();
    if (local.empty() || newestVersion().empty() || local == newestVersion()) return;
    resetProgressBars();
    if (m_.dialogs().messageBox(text(TextId::TitleInformation), text(row_.newSoftwareQuestion), ui::Buttons::YesNo,
                                ui::Icon::Information) != ui::Answer::Yes) {
      return;
    }
    m_.appendLog(text(row_.updatingFiles));
    bool success = true;
    for (const auto& type : online::parseEquipmentList(m_.brandIni().readString(config::kEquipment, row_.equipmentKey, ""))) {
      success = m_.downloadPackage(row_.downloadTarget, type);
      if (!success) break;
    }
    if (success) {
      m_.appendLog(text(TextId::MsgUpdateFinished));
      writeNewestVersion();
      show(TextId::TitleInformation, text(TextId::MsgLocalFilesUpdated), ui::Icon::Information);
    } else {
      m_.appendLog(text(TextId::MsgUpdateFailed));
      show(TextId::TitleError, text(TextId::MsgUpdateFailedInternet), ui::Icon::Information);
    }
  }

  // ---- step 5 ----
  void lookForLocalCopy() {
    if (model_ == TP) {
      if (m_.tpPackages.unitProtocolVersion > 1) m_.ReadPackageList();
      if (m_.PackagesPresent()) needsDownload_ = false;
      return;
    }
    const auto folder = localCopyFolder(row_.localCopyKey);
    if (!folder.empty() && fileExists(fs::path(folder) / row_.proofFile)) {
      needsDownload_ = false;
      return;
    }
    askToUpdateFiles();
  }

  void askToUpdateFiles() {
    if (!ask(TextId::TitleInformation, text(TextId::MsgAskUpdateFiles))) return;
    m_.updateCheck.askBeforeDownload = false;
    m_.funcaoAtualizaSoftware();
  }

  // ---- step 6: an old E1 or T1 written whole needs all four module slots filled ----
  bool modulesComplete() {
    const auto selected = std::count(std::begin(m_.moduleFlags), std::end(m_.moduleFlags), true);
    if (selected == 4 || !m_["chkAllPages"].checked() || (model_ != E1 && model_ != T1) ||
        isNewLineTesterHardware(hardwareType_)) {
      return true;
    }
    show(TextId::TitleWarning, text(TextId::MsgModuleNotInstalled), ui::Icon::Warning);
    m_["StringGrid"].setFocus();
    return false;
  }

  // ---- step 8: the TP's application packages ----
  bool prepareTpPackages() {
    auto& tp = m_.tpPackages;
    const bool engineering = m_.profile() == ProfileEngineering;
    if (engineering && tp.unitProtocolVersion == 5 && tp.moduleChangePending) {
      show(TextId::TitleWarning, text(TextId::MsgModulesActivationTwice), ui::Icon::Warning);
    }
    const bool oldUnit = tp.unitProtocolVersion <= 1;
    bool listRead = false;
    if (oldUnit) {
      if (!prepareOldTpUnit()) return false;
    } else {
      listRead = m_.ReadPackageList();
      if (needsDownload_) askToUpdateFiles();
    }

    if (!m_.PackagesPresent()) {
      if (engineering) return failMissing(missingTpFile(), pageSetDir(), TextId::MsgHaveMentionedFile);
      if (!findTpPackagesElsewhere(oldUnit, listRead)) return false;
    }

    if (m_["chkSincDataHora"].checked() || tp.timeSyncRequested) {
      if (m_.writePreparation.sendDateTime) m_.writePreparation.sendDateTime();
    }
    if (oldUnit) {
      std::ifstream in(pageSetDir() / tp.oldUnitPackage, std::ios::binary);
      tp.oldUnitPackageContents.assign(std::istreambuf_iterator<char>(in), {});
      if (!in.eof() || in.bad()) return failMissing(tp.oldUnitPackage, pageSetDir(), TextId::MsgHaveMentionedFile);
      logPresent(tp.oldUnitPackage);
    }
    return true;
  }

  bool prepareOldTpUnit() {
    auto& tp = m_.tpPackages;
    if (m_.profile() == ProfileEngineering) {
      reset();
      show(TextId::TitleWarning, kTpFileSystemAdvice, ui::Icon::Warning);
      return false;
    }
    const bool route14 = tp.unitProtocolVersion == 0 &&
                         m_.dialogs().messageBox(text(TextId::TitleWarning), text(TextId::MsgAskVersion5OrPrior),
                                                 ui::Buttons::YesNo, ui::Icon::Warning) == ui::Answer::Yes;
    show(TextId::TitleWarning, text(route14 ? TextId::MsgOldSoftwareTo14 : TextId::MsgOldSoftwareTo19),
         ui::Icon::Warning);
    tp.oldUnitPackage = route14 ? "v14tp1A" : "UP5v6TP1A";
    pageSetDir() = m_.programDir() / kTpOldUnitFolder;
    if (fileExists(pageSetDir() / tp.oldUnitPackage)) return true;
    if (!ask(TextId::TitleInformation, text(route14 ? TextId::MsgAskDownload14 : TextId::MsgAskDownload19))) {
      reset();
      show(TextId::TitleInformation, text(TextId::MsgUpdateNotNow), ui::Icon::Information);
      return false;
    }
    m_.appendLog(text(TextId::MsgUpdatingFilesTP));
    if (!m_.downloadPackage(TP, tp.oldUnitPackage)) {
      m_.appendLog(text(TextId::MsgUpdateFailed));
      reset();
      show(TextId::TitleError, text(TextId::MsgUpdateFailedInternet), ui::Icon::Information);
      return false;
    }
    m_.appendLog(text(TextId::MsgUpdateFinished));
    return true;
  }

  // The name the missing-file message gives for packages that are not all there.
  std::string missingTpFile() const {
    const auto& tp = m_.tpPackages;
    if (tp.unitProtocolVersion <= 1) return tp.oldUnitPackage;
    for (const auto& name : tp.packages) {
      const auto file = name + std::string(kPackageExtension);
      if (!fileExists(m_.pageSet.pageSetDir / file)) return file;
    }
    return std::string(kPackageListFile);
  }

  // The local copy, then a folder the operator picks, then a download.
  bool findTpPackagesElsewhere(bool oldUnit, bool listRead) {
    auto& tp = m_.tpPackages;
    const fs::path step3Folder = pageSetDir();
    pageSetDir() = localCopyFolder(config::kHardTp);
    if (!oldUnit && !listRead) m_.ReadPackageList();
    if (m_.PackagesPresent()) return true;

    if (ask(TextId::TitleError, filesNotFound(TextId::MsgAskManualSearch))) {
      const auto chosen = browseForFolder();
      if (!chosen) return false;
      const std::string needed = oldUnit ? tp.oldUnitPackage : std::string(kPackageListFile);
      if (!fileExists(*chosen / needed)) {
        m_.appendLog(text(TextId::MsgInvalidFile));
        show(TextId::TitleError, text(TextId::MsgInvalidFile), ui::Icon::Error);
        reset();
        return false;
      }
      pageSetDir() = *chosen;
      m_.programIni().writeString(config::kDiretorioSection, config::kHardTp, chosen->string());
      if (!oldUnit) m_.ReadPackageList();
      if (m_.PackagesPresent()) return true;
    }

    const bool download = ask(TextId::TitleError, filesNotFound(TextId::MsgAskDownloadFiles));
    if (!download) {
      // The module reading that follows this click then leaves the grid idle.
      m_.moduleGrid.setSkipNextTpListing(true);
      reset();
      show(TextId::TitleWarning, text(TextId::MsgUpdateNotNow), ui::Icon::Warning);
      return false;
    }
    m_.appendLog(text(TextId::MsgUpdatingFilesTP));
    if (!m_.downloadPackage(TP, hardwareType_)) {
      m_.appendLog(text(TextId::MsgUpdateFailed));
      m_.moduleGrid.setSkipNextTpListing(true);
      reset();
      show(TextId::TitleError, text(TextId::MsgUpdateFailedInternet), ui::Icon::Information);
      return false;
    }
    m_.appendLog(text(TextId::MsgUpdateFinished));
    writeNewestVersion();
    // The packages arrive in the model's own folder.
    pageSetDir() = step3Folder;
    if (!oldUnit) m_.ReadPackageList();
    return true;
  }

  // ---- step 9: the programs the unit runs from RAM ----
  bool checkLinkFiles() {
    needsDownload_ = false;
    std::vector<std::string_view> files;
    switch (m_.linkMode.load()) {
      case LinkMode::Serial:
        files = {kSerialRamProgram, kTimRamProgram};
        break;
      case LinkMode::USB:
        if (model_ == E1 || model_ == T1 || model_ == TIM || model_ == TIMSK) files = {kSerialRamProgram};
        break;
      case LinkMode::Ethernet:
        files = {kEthernetRamProgram};
        break;
    }
    for (auto file : files) {
      if (!requireFile(m_.programDir(), std::string(file), TextId::MsgHaveMentionedFile)) return false;
    }
    m_.appendLog(text(TextId::MsgCheckingPages));
    return true;
  }

  // ---- step 10 ----
  bool checkPageSetFiles() {
    const bool engineering = m_.profile() == ProfileEngineering;
    if (isUsbImageModel(model_)) {
      if (engineering) return true;
      if (!m_.checkUsbModelByte()) return false;  // the check has ended the connection
      return localCopyDialogue(row_.localCopyKey, row_.proofFile);
    }
    if (model_ == CPU206) return engineering || localCopyDialogue(row_.localCopyKey, row_.proofFile);

    if (m_["chkPageX"].checked()) {
      std::string file = "page" + m_["EditPag"].text() + ".tag";
      if (m_.specialMode) {
        pageSetDir() = m_.writePreparation.serviceModeFile.parent_path();
        file = kPageZeroFile;
      }
      return requirePageFile(file);
    }
    if (!localCopyDialogue(row_.localCopyKey, row_.proofFile)) return false;
    for (const auto& file : fullPageSetFiles(model_, hardwareType_)) {
      if (!requirePageFile(file)) return false;
    }
    if (model_ == TIM || model_ == TIMSK) {
      return requireFile(m_.programDir(), std::string(kTimWriterFile), TextId::MsgHaveProperFiles);
    }
    return true;
  }

  bool requirePageFile(const std::string& file) { return requireFile(pageSetDir(), file, TextId::MsgHaveProperFiles); }

  // ---- step 11: the page set, a recorded local copy, a folder the operator picks, or a download ----
  bool localCopyDialogue(const char* key, const char* proof) {
    if (fileExists(pageSetDir() / proof)) return true;
    const fs::path step3Folder = pageSetDir();
    const auto recorded = localCopyFolder(key);
    pageSetDir() = recorded;
    if (!recorded.empty() && fileExists(pageSetDir() / proof)) return true;

    if (ask(TextId::TitleError, filesNotFound(TextId::MsgAskManualSearch))) {
      const auto chosen = browseForFolder();
      if (!chosen) return false;
      pageSetDir() = *chosen;
      if (fileExists(*chosen / proof)) {
        m_.programIni().writeString(config::kDiretorioSection, key, chosen->string());
        return true;
      }
      show(TextId::TitleError, text(TextId::MsgInvalidFile), ui::Icon::Error);
      m_.appendLog(text(TextId::MsgInvalidFile));
    }

    const bool download = ask(TextId::TitleError, filesNotFound(TextId::MsgAskDownloadFiles));
    const bool pageModel = isPageModel(model_);
    if (download) {
      m_.appendLog(text(row_.updatingFiles));
      if (m_.downloadPackage(row_.downloadTarget, hardwareType_)) {
        m_.appendLog(text(TextId::MsgUpdateFinished));
        writeNewestVersion();
        pageSetDir() = step3Folder;
        return true;
      }
      m_.appendLog(text(TextId::MsgUpdateFailed));
      if (!pageModel) {
        reset();
        show(TextId::TitleError, text(TextId::MsgUpdateFailedInternet), ui::Icon::Information);
        return false;
      }
      show(TextId::TitleError, text(TextId::MsgUpdateFailedInternet), ui::Icon::Information);
    }
    reset();
    show(TextId::TitleWarning, text(TextId::MsgUpdateNotNow), ui::Icon::Warning);
    return false;
  }

  TKadMain& m_;
  const EquipmentModel model_;
  const WriteModelRow& row_;
  const std::string hardwareType_;
  bool hardwareNotServed_ = false;
  bool needsDownload_ = false;
};

}  // namespace

void TKadMain::ButPaginasClick() { WritePreparationRun(*this).run(); }

std::optional<std::string> TKadMain::getFolderSelection(const std::string& title) {
  return dialogs().selectFolder(title);
}

}  // namespace kad
