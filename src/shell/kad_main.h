#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "connection/installed_modules.h"
#include "connection/worker_thread.h"
#include "link/link_mode.h"
#include "models/equipment_model.h"
#include "models/model_catalogue.h"
#include "models/write_preparation.h"
#include "online/update_check.h"
#include "online/version_list.h"
#include "pagesets/page_file.h"
#include "pagesets/page_set_layout.h"
#include "pagesets/personal_data.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/process.h"
#include "shell/catalog.h"
#include "shell/profile.h"
#include "ui/background_work.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/main_loop.h"
#include "upload/tp_packages.h"
#include "upload/usb_update.h"

namespace kad {

// What the main window needs from the world around it; the front end (or a test) owns it.
struct KadMainEnvironment {
  std::filesystem::path programDir;  // with trailing separator
  ui::Dialogs& dialogs;
  ui::MainLoop& loop;
  platform::Clock& clock;
  platform::Processes& processes;
};

// The main window: owns the form, the configuration files, the catalog and the state of
// every subsystem. Each subsystem's operations are defined in that subsystem's own source
// file; this class only gathers them.
class TKadMain {
 public:
  TKadMain(std::string_view profileName, KadMainEnvironment environment);
  TKadMain(const TKadMain&) = delete;
  TKadMain& operator=(const TKadMain&) = delete;
  ~TKadMain();

  ui::Form form{"TKadMain"};
  ui::Form languageForm{"TFormLanguage"};
  ui::Control& operator[](std::string_view controlName) const { return form[controlName]; }

  ui::Dialogs& dialogs() const { return env_.dialogs; }
  ui::MainLoop& loop() const { return env_.loop; }
  platform::Clock& clock() const { return env_.clock; }
  platform::Processes& processes() const { return env_.processes; }
  const std::filesystem::path& programDir() const { return env_.programDir; }

  // ---- Start-up, configuration files and profiles ---------------------------------------
  void FormCreate();
  void FormClose();
  void FormDestroy();
  void Atualiz_sempreClick();
  platform::IniFile& programIni() { return *programIni_; }
  platform::IniFile& brandIni() { return *brandIni_; }
  ProfileKind profile() const { return profile_; }
  Brand brand() const { return brand_; }
  UiLanguage language() const { return language_; }
  std::string brandIniName() const;
  std::string applicationTitle;
  std::string applicationIcon;
  // The update check at start; the online subsystem installs it.
  std::function<void()> startupUpdateCheck;
  // Stops the TP model's web server and removes its files when one runs.
  std::function<void()> onCloseTpServer;

  // ---- Message catalog and language switching -------------------------------------------
  std::string text(TextId id) const { return catalog_.text(id); }
  void fillCatalog();
  static void buildLanguageForm(ui::Form& dialog);
  void Lingua1Click();
  void languageButOKClick();
  void languageButCancelarClick();

  // ---- Main window, status log and operator fields --------------------------------------
  void appendLog(const std::string& line);
  void scrollLog();
  void updatePercentLabels();
  void setModuleGridEnabled(bool enabled);
  void restartProgram();
  static bool isShortCode(const std::string& text);
  ui::ItemStyle ListStatusDrawItem(int index) const;
  void ListStatusMouseUp();
  void ListStatusKeyDown(ui::Key key, unsigned modifiers);
  void ButSalvarClick();
  void ButLimparClick();
  void ButApagaCamposClick();
  bool FormShortCut(ui::Key key, unsigned modifiers);
  void openHelp();
  // The change and click handlers of the eight operator fields.
  void operatorFieldChange(const std::string& field);
  void operatorFieldClick(const std::string& field);
  // Shows a value the unit reported in an operator field, unless the operator owns the field.
  void showUnitValue(const std::string& field, const std::string& value);
  // The stop-and-reset of the cancel button (Esc); the worker-thread subsystem installs it.
  std::function<void()> stopAndReset;

  // ---- Equipment model catalogue and selection ------------------------------------------
  std::atomic<EquipmentModel> currentModel{EquipmentModel::E1};
  UnitIdentity unitIdentity;
  // The calibration file (or, for CATV, the line-up file) chosen for each model's next upload.
  std::array<std::string, kModelCount> calibrationFile;
  void selectModel(EquipmentModel model);
  bool CheckUnitMatchesModel();
  bool checkUsbModelByte();
  bool checkTpDeviceType(std::uint16_t deviceType);
  void chkLoaderClick();
  void chkPageXClick();
  void chkAllPagesClick();
  void chkGravComPagCalibClick();
  void chkSelModulosClick();
  void EditPagExit();
  void EditPagClick();

  // ---- Hardware-version rules -------------------------------------------------------------
  void verificaHardZ();
  void botaoZClick();

  // ---- Serial port transport: link mode and port ----------------------------------------
  std::atomic<LinkMode> linkMode{LinkMode::USB};
  int comPort = 1;
  std::string comPortName = "COM1";
  void RadioUSBClick();
  void RadioSerialClick();
  void RadioEthernetClick();
  void RadioCOMClick(int port);

  // ---- Online update ----------------------------------------------------------------------
  online::VersionTable versions;
  online::UpdateCheckState updateCheck;
  // Set by the front end so that downloads do not stop the window painting.
  ui::BackgroundWork runTransfer;
  void versoesEquipamentosOnline();
  bool downloadPackage(EquipmentModel target, const std::string& code);
  // From the menu, or (fromMenu false) the check at start, which reports only what it did.
  void Atualiz_AgoraClick(bool fromMenu = true);
  void funcaoAtualizaSoftware();

  // ---- Connection and upload flags --------------------------------------------------------
  std::atomic<bool> specialMode{false};  // the special mode is active: page 0 only
  std::atomic<bool> specialModeRequested{false};
  std::atomic<bool> loaderMode{false};
  bool moduleFlags[8] = {};
  unsigned char workArea[16] = {};
  unsigned char transferBuffer[8] = {};
  std::uint16_t unitWordA = 80;
  std::uint16_t unitWordB = 49791;

  // ---- Connection start ------------------------------------------------------------------
  void ButIniciarClick();
  // ---- Installed modules -----------------------------------------------------------------
  InstalledModules moduleGrid;
  bool ReadInstalledModules();
  void StringGridMouseUp(int col, int row);
  void StringGridDblClick();
  ui::ItemStyle StringGridDrawCell(int col, int row) const;
  void resetModuleGrid();

  // ---- Worker thread and cancellation ----------------------------------------------------
  ConnectionControl connection;
  WorkerThread uploadThread;  // ThreadCancela
  // Starts the upload thread on the current page set (PageSetDir).
  void startUploadThread();
  void ThreadCancelaExecute();
  void ButCancelarClick();
  void EndConnection();

  // ---- Upload orchestrator ---------------------------------------------------------------
  bool RunUpload();

  // ---- USB update path -------------------------------------------------------------------
  UsbUpdateState usb;
  bool FindUnitDrive();
  bool ReadUnitFile();
  bool WaitForUnitToTakeRecord();
  void TakeUploadTimeStamp();
  bool RunUsbUpload();

  // ---- Page files, page image and page checks --------------------------------------------
  PageImage pageImage;
  PageCheckState pageChecks;
  // Reads a page file into the page image; on the USB link also sends it as a page record.
  bool LoadPageFile(const std::filesystem::path& path);
  bool CheckPageSetForUnit();
  bool CheckPageHardwareType();
  bool VerifyPageReadBack(std::size_t offset);

  // ---- USB exchange file and program images ----------------------------------------------
  // Writes the page image just loaded from `fileName` as the next record of the exchange file.
  bool EmitPageRecord(const std::string& fileName);
  bool BuildAndWriteProgramImage(const std::filesystem::path& source);

  // ---- Page-set layout and page sequences -------------------------------------------------
  PageSetState pageSet;

  // ---- Personal data laid into page 0 and page 15 -----------------------------------------
  PersonalData personalData;
  ClientBlock clientBlock{};
  std::size_t BuildClientBlock();
  void BuildModuleWord();
  void BuildEthernetAddress();
  bool calibrationToBeErased() const;

  // ---- Write preparation ("Gravar páginas") -----------------------------------------------
  WritePreparationState writePreparation;
  void ButPaginasClick();
  // The folder browser; nothing when the operator chose no folder.
  std::optional<std::string> getFolderSelection(const std::string& title);

  // ---- TP application packages ------------------------------------------------------------
  TpPackageState tpPackages;
  bool ReadPackageList();
  bool PackagesPresent() const;

 private:
  bool connectionPreChecks();
  bool connectUsbUnit(EquipmentModel rawModel);
  bool editedByOperatorKeepsFields() const;
  bool checkPageSetBeforeUpload();
  // The unit's drive root; an empty path when a CATV search stopped at a drive without the file.
  std::optional<std::filesystem::path> locateUnitDrive(bool reportWrongPurpose);
  bool unitDriveStillThere();
  bool failUsbWait(TextId message);
  void setRecordFlags(int pageNumber, bool first, bool last, std::uint16_t timeStampHalf);
  void stepTotalProgress();
  void fillBothProgressBars();
  bool runUsbImageUpload(EquipmentModel model);

  void applyLinkModes(const ModelInfo& info);
  void applyServiceLayout(EquipmentModel model);
  void applyCustomerLayout(EquipmentModel model);
  void applyFieldLayout(const ModelInfo& info);
  bool chooseModelFile(const char* box, TextId need, const char* filter, const char* extension);
  bool selectingModel_ = false;
  void arrangeForProfile();
  void askFirstStartQuestion();
  void wireHandlers();

  KadMainEnvironment env_;
  ProfileKind profile_;
  Brand brand_;
  UiLanguage language_ = UiLanguage::Portuguese;
  Catalog catalog_;
  std::unique_ptr<platform::IniFile> programIni_;
  std::unique_ptr<platform::IniFile> brandIni_;
};

}  // namespace kad
