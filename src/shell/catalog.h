#pragma once
#include <array>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "models/equipment_model.h"
#include "shell/profile.h"

namespace kad {

// Every text the program shows has one of these identifiers. Prefixes: Msg (message box or
// status-log line), Title (message-box title), Cap (caption), Kw (a word the status log looks
// for), Txt (a fragment joined into other texts).
enum class TextId : int {
  // Messages, titles, keywords and fragments
  TitleError, KwError, MsgUnitPrefix, MsgModePrefix, MsgPortPrefix, MsgTheFile, CapOpen,
  MsgTheName, MsgAlreadyExists, MsgSelectOption, MsgSelectFolder, MsgNeedPage0Path,
  MsgNeedLineupPath, MsgNeedCalibPath, MsgNeedLoaderPath, MsgInvalidFolder, MsgInvalidFile,
  MsgLoaderSendError, MsgLoaderSent, MsgPressF2On, MsgUnitDataError, MsgModulesCheckError,
  MsgServerStarted, MsgWaitingUsb, MsgOkSuffix, MsgNotFoundAborted, MsgCheckingPages,
  MsgUploadError, MsgFolderOpenError, MsgSelectedFolder, MsgModuleNotRemovable,
  MsgModuleNotInstalled, MsgMaxFourModules, MsgIncompatibleHardware, TxtYes, TxtNo, MsgIpPrefix,
  MsgHasConnected, MsgTimeout, MsgEthIncomplete, MsgCheckingIntegrity, MsgFileCorrupted,
  MsgIntegrityOk, MsgWritingFlashData, MsgFirstHalfOfPage, MsgLastHalfOfPage, MsgTagLoadedHalf,
  MsgTagLoaded, MsgWasLoaded, MsgFlashWritten, MsgVersionIncompatible, MsgVersionOk,
  MsgDisconnectedSuffix, MsgExtraModulesError, MsgClientDataSent, MsgWritingPage0,
  MsgOperationComplete, KwFailed, MsgOpening, MsgSoftwareForHw, MsgUnitHwType, MsgAskGoOn,
  MsgImpossibleContinue, MsgCheckFolderHw, MsgDataUploaded, MsgTheFilePage, MsgTmsJumper,
  MsgUnitCaps, MsgTurnOnThenYes, MsgLoaderInit, MsgGathering, MsgDataObtained, MsgOpenPortError,
  MsgOpenedOk, MsgConfigPortError, MsgConfiguredOk, MsgTimeoutsError, MsgInitialized,
  MsgCommEstablished, MsgCommFailedVersion, MsgFlashCompromised, MsgErrorOpening, MsgOpenedSuffix,
  MsgSendingVersion, MsgReadingFlash, MsgFlashRead, MsgRamWriteStart, MsgEthClosed,
  MsgSerialClosed, TxtProgramName, MsgNeedPageNumber, MsgInvalidPageNumber, MsgFolderLacksFiles,
  MsgOperationAborted, MsgSyncingDateTime, MsgGravaFlaLoaded, MsgGravaFlaError, MsgNeedName,
  MsgErrNotTP, MsgApplicationLoaded, MsgPagesNewerThanProgram, MsgCheckFolderPrefix,
  MsgHaveProperFiles, MsgHaveMentionedFile, TitleConfirm, TitleWarning, TitleInformation,
  MsgSerialReload, MsgModulesOnePage, MsgAskAutoUpdate, MsgOnlineSearchError,
  MsgServerConnectError, MsgNoUpdates, MsgFilesNotFound, MsgAskDownloadFiles, TxtProgramVersion,
  MsgSupportPhone, TxtMakerWebAddress, MsgDateTimeWillUpdate, MsgAskManualSearch, MsgSearching,
  MsgCalibWillBeErased, MsgAskEraseCalib, MsgCalibPageSelected, MsgContactSupport, MsgNoHwVersion,
  MsgAskVersion5OrPrior, MsgOldSoftwareTo19, MsgOldSoftwareTo14, MsgAskDownload19,
  MsgAskDownload14, MsgCommErrorRetry, MsgUnitNotResponding, MsgUsbReadError, MsgUsbUnitNotFound,
  MsgUsbWrongPurpose, MsgCouldNotOpenFile, MsgReadUnitError, MsgUsbPlugF3, MsgUsbTurnOnNormally,
  MsgPressF2F3On, MsgDeviceFull, MsgUsbConnected, MsgUnitDisconnected, MsgUsbClosed,
  MsgWaitingConfirmation, MsgPagePrefix, MsgSentSuffix, MsgErrNotSelectedCATV,
  MsgErrNotSelectedOTDR150, MsgErrNotSelectedOTDR160, MsgErrNotSelectedOTDR170,
  MsgErrNotSelectedOPM, MsgErrNotSelectedMeg, MsgUpdatingUnit, MsgAskResume,
  MsgModulesActivationTwice, MsgAskNewProgram, MsgAskNewSoftwareE1, MsgAskNewSoftwareTIM,
  MsgAskNewSoftwareTIMSK, MsgAskNewSoftwareDSL2, MsgAskNewSoftwareTP, MsgAskNewSoftwareCATV,
  MsgAskNewSoftwareOTDR150, MsgAskNewSoftwareOTDR160, MsgAskNewSoftwareOTDR170,
  MsgAskNewSoftwareOPM, MsgAskNewSoftwareMeg, MsgAskNewSoftwareFirmware, MsgLocalFilesUpdated,
  MsgUpdateFailedInternet, MsgAskUpdateFiles, MsgUpdateNotNow, MsgUpdatingFilesE1,
  MsgUpdatingFilesTIM, MsgUpdatingFilesTIMSK, MsgUpdatingFilesDSL2, MsgUpdatingFilesTP,
  MsgUpdatingFilesCATV, MsgUpdatingFilesOTDR150, MsgUpdatingFilesOTDR160, MsgUpdatingFilesOTDR170,
  MsgUpdatingFilesOPM, MsgUpdatingFilesMeg, MsgUpdatingFilesFirmware, MsgUpdateFinished,
  MsgUpdateFailed, MsgSerialOnly, MsgLineupNextLoad, MsgUpdateNormally, MsgSpecialNextLoad,
  MsgSpecialHalted, MsgLoaderModeNextLoad, MsgLoaderModeHalted, MsgCannotUpgradeNow,
  MsgUsbUpdateFailed, MsgAskNoCalib,
  // Captions of the main window
  CapMainTitle, CapMenuLanguage, CapMenuHelp, CapMenuAbout, CapMenuProgramHelp, CapMenuConfig,
  CapMenuVerify, CapMenuNow, CapMenuAlways, CapOptions, CapOnlyPage, CapAllPages, CapUploadLoader,
  CapEraseCalib, CapLoadWithCalib, CapSyncDateTime, CapSelectModules, CapUpdateLineup,
  CapUnlockFlash, CapFolder, CapAdd, CapRemove, CapStartComm, CapStartUpload, CapCancel,
  CapEraseFields, CapCommStatus, CapSave, CapClean, CapHwVersion, CapBattery, CapHardware,
  CapClientData, CapInstalledModules, CapClient, CapSerialNumber, CapModule, CapInstalled,
  CapCurrent, CapTotal, CapUnit, CapCommMode, CapSerialPort,
  // Model captions
  CapModelE1, CapModelT1, CapModelTIM, CapModelTIMSK, CapModelDSL2, CapModelTP, CapModelCATV,
  CapModelOPM, CapModelMeg, CapModelFirmware, CapModelOTDR150, CapModelOTDR160, CapModelOTDR170,
  CapModelTPPlus,
  // Captions of the other windows
  CapAddFolder, CapName, CapTurnOnUnit, CapOk,
  // Questions on the connected and the selected model
  MsgAskConnE1SelDSL2, MsgAskConnE1SelTIM, MsgAskConnE1SelTIMSK, MsgAskConnE1SelT1,
  MsgAskConnT1SelDSL2, MsgAskConnT1SelTIM, MsgAskConnT1SelTIMSK, MsgAskConnT1SelE1,
  MsgAskConnTIMSelDSL2, MsgAskConnTIMSelE1, MsgAskConnTIMSelT1, MsgAskConnTIMSelTIMSK,
  MsgAskConnTIMSKSelDSL2, MsgAskConnTIMSKSelE1, MsgAskConnTIMSKSelT1, MsgAskConnTIMSKSelTIM,
  MsgAskConnDSL2SelE1, MsgAskConnDSL2SelTIM, MsgAskConnDSL2SelTIMSK, MsgAskConnDSL2SelT1,
  MsgAskConnUnknownSelE1, MsgAskConnUnknownSelTIM, MsgAskConnUnknownSelTIMSK,
  MsgAskConnUnknownSelDSL2, MsgAskConnUnknownSelT1,
  // Errors on the connected and the selected model
  MsgErrConnE1SelDSL2, MsgErrConnE1SelTIM, MsgErrConnE1SelTIMSK, MsgErrConnE1SelT1,
  MsgErrConnT1SelDSL2, MsgErrConnT1SelTIM, MsgErrConnT1SelTIMSK, MsgErrConnT1SelE1,
  MsgErrConnTIMSelDSL2, MsgErrConnTIMSelE1, MsgErrConnTIMSelT1, MsgErrConnTIMSelTIMSK,
  MsgErrConnTIMSKSelDSL2, MsgErrConnTIMSKSelE1, MsgErrConnTIMSKSelT1, MsgErrConnTIMSKSelTIM,
  MsgErrConnDSL2SelE1, MsgErrConnDSL2SelTIM, MsgErrConnDSL2SelTIMSK, MsgErrConnDSL2SelT1,
  MsgErrConnUnknownSelE1, MsgErrConnUnknownSelTIM, MsgErrConnUnknownSelTIMSK,
  MsgErrConnUnknownSelDSL2, MsgErrConnUnknownSelT1, MsgErrConnTPSelE1, MsgErrConnTPSelDSL2,
  MsgErrConnTPSelTIM, MsgErrConnTPSelTIMSK, MsgErrConnTPSelT1, MsgErrConnTPPlusSelE1,
  MsgErrConnTPPlusSelDSL2, MsgErrConnTPPlusSelTIM, MsgErrConnTPPlusSelTIMSK, MsgErrConnTPPlusSelT1,
  // Questions on old firmware
  MsgAskOldFwE1, MsgAskOldFwTIM, MsgAskOldFwTIMSK, MsgAskOldFwDSL2, MsgAskOldFwT1,
  Count
};

inline constexpr int kTextIdCount = static_cast<int>(TextId::Count);

// The maker's contact data that some texts carry; they are build configuration.
struct CatalogSettings {
  std::string supportPhone;
  std::string webAddress;
};

// The message catalog: one text per entry, refilled when the language changes. An entry keeps
// its text when the chosen language and brand give it none, so a text missing in one language
// shows the other language's text after a switch (and is empty after a fresh start).
class Catalog {
 public:
  explicit Catalog(CatalogSettings settings);

  // Assigns the texts of the language and brand to every entry that has one there.
  void fill(UiLanguage language, Brand brand);

  // The current text of an entry; empty for an identifier outside the catalog. Any thread.
  std::string text(TextId id) const;

  static std::string_view identifier(TextId id);
  static std::optional<TextId> fromIdentifier(std::string_view name);

 private:
  // The texts of one entry in the four columns, in the order DORN English, DORN Portuguese,
  // NEB English, NEB Portuguese; an empty optional marks a column without text.
  using Columns = std::array<std::optional<std::string>, 4>;

  std::vector<Columns> columns_;
  mutable std::mutex mutex_;
  std::vector<std::string> current_;
};

// The controls of the main window that a fill re-captions, with the entry each one takes, in
// the order they are captioned. The window title (CapMainTitle followed by "1.0") is not in
// the list. The model decides chkSelModulos, ButEspecial and ButApagaCampos; the four
// Configura menu items keep their captions in the engineering build and in the repair-shop
// build with the TIM model, so they are left out of the list there.
std::vector<std::pair<std::string, TextId>> mainWindowCaptions(ProfileKind profile, EquipmentModel model);

// The catalogue name of a model (its radio-button caption and the "Unit" value written to the
// program file). A value outside the model range is E1.
TextId modelCaptionId(EquipmentModel model);

}  // namespace kad
