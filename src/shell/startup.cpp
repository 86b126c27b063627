// Start-up of the main window, the two configuration files and the profile's arrangement.
#include "shell/config_keys.h"
#include "shell/kad_main.h"
#include "shell/main_window_form.h"

namespace kad {
namespace {

const char* const kClientAndHardwareFields[] = {"EditNomeCliente", "MaskNSerie",  "EditCPU",    "EditEquip",
                                                 "EditBateria",     "EditDisplay", "EditSliver", "EditTipoHard"};

}  // namespace

void TKadMain::FormCreate() {
  // 1-3: program directory, profile and the two configuration files.
  programIni_ = std::make_unique<platform::IniFile>(programDir() / config::kProgramIniName);
  brandIni_ = std::make_unique<platform::IniFile>(programDir() / brandIniName());

  // 4-5: brand and language.
  if (brand_ == Brand::Neb) {
    form["Lingua1"].setVisible(false);
    language_ = UiLanguage::English;
    form["NebLogo"].setVisible(true);
    form["DornLogo"].setVisible(false);
    applicationIcon = (programDir() / "neb.ico").string();
    applicationTitle = "NEB Uploader";
    form["RadioE1"].setVisible(false);
    for (const char* name : {"RadioCATV", "RadioOPM", "RadioMEGOMETRO", "RadioFirmCpu206"}) form[name].setTop(0);
  } else {
    form["Lingua1"].setVisible(true);
    language_ = languageFromText(brandIni().readString(config::kConfig, config::kLanguage, ""));
    form["DornLogo"].setVisible(true);
    form["NebLogo"].setVisible(false);
    applicationIcon = (programDir() / "qe.ico").string();
    applicationTitle = "Uploader DORN";
    form["RadioT1"].setVisible(true);
    form["RadioT1"].setEnabled(false);
  }
  form["DornLogo"].setImageFile((programDir() / "qe.ico").string());
  form["NebLogo"].setImageFile((programDir() / "neb.ico").string());
  form.root().setImageFile(applicationIcon);
  fillCatalog();

  // 6: the directory list is an engineering feature.
  if (profile_ == ProfileEngineering) {
    auto& combo = form["ComboDir"];
    combo.clearItems();
    for (const auto& section : programIni().sections()) {
      if (section != config::kConfig) combo.addItem(section);
    }
    form["botaoZ"].setVisible(true);
    form["botaoZ"].setEnabled(true);
    form["GroupBoxExtras"].setEnabled(false);
    form["GroupBoxExtras"].setVisible(false);
  } else {
    form["botaoZ"].setChecked(false);
  }

  // 7-10: model E1, the port, the USB link.
  std::fill(std::begin(transferBuffer), std::end(transferBuffer), 0);
  selectModel(EquipmentModel::E1);
  comPort = programIni().readInteger(config::kConfig, config::kPort, 1);
  comPortName = "COM" + std::to_string(comPort);
  form["chkLoader"].setEnabled(false);
  form["RadioUSB"].setChecked(true);
  form["chkDataHora"].setEnabled(true);
  linkMode = LinkMode::USB;

  // 11: the first two log lines. The mode is read after the USB selection recorded it.
  appendLog(text(TextId::MsgUnitPrefix) +
            programIni().readString(config::kConfig, config::kUnit, text(modelCaptionId(EquipmentModel::E1))));
  appendLog(text(TextId::MsgModePrefix) + programIni().readString(config::kConfig, config::kMode, "Serial"));
  scrollLog();

  // 12: the stored directory-list entry (an index outside the list selects nothing).
  form["ComboDir"].setItemIndex(programIni().readInteger(config::kConfig, config::kDiretorio, 0));

  // 13: idle state of the connection and the upload.
  connection.userCancelled = false;
  connection.uploadFinished = false;
  specialMode = false;
  form["ProgressAtual"].setMax(1);
  form["ProgressAtual"].setPosition(0);
  form["ProgressTotal"].setMax(1);
  form["ProgressTotal"].setPosition(0);
  updatePercentLabels();
  form["chkPageX"].setChecked(false);
  form["EditPag"].setText("0");
  unitWordA = 80;
  unitWordB = 49791;
  form["StringGrid"].setEnabled(false);
  form["ListStatus"].setItemIndex(0);
  form["Conta_Tempo"].setEnabled(false);
  std::fill(std::begin(moduleFlags), std::end(moduleFlags), false);
  std::fill(std::begin(workArea), std::end(workArea), 0);

  // 14: the profile's arrangement.
  arrangeForProfile();

  // 15: the first-start question and the update check at start.
  if (profile_ != ProfileEngineering) askFirstStartQuestion();

  // 16: hardware-version rules of the hardware fields.
  verificaHardZ();
}

void TKadMain::arrangeForProfile() {
  if (profile_ == ProfileEngineering) return;
  auto& f = form;
  const bool customer = profile_ == ProfileClient || profile_ == ProfileNeb;
  if (customer) {
    f["GroupOpcoes"].setVisible(false);
    f["GroupGeral"].setTop(5);
    f["chkDataHora"].setVisible(false);
  } else {
    f["chkAllPages"].setEnabled(false);
    f["chkDataHora"].setVisible(true);
  }
  for (const char* field : kClientAndHardwareFields) f[field].setEnabled(false);

  // Common to every profile but the engineering one.
  f["chkAllPages"].setChecked(true);
  f["ButApagaCampos"].setEnabled(false);
  f["ButApagaCampos"].setVisible(false);
  for (const char* name : {"ComboDir", "ButAdicionar", "ButRemover", "Label1"}) f[name].setVisible(false);
  f["Configura"].setVisible(true);
  f["RadioUSB"].setVisible(true);

  if (customer) {
    auto status = f["GroupStatus"].bounds();
    status.top -= 50;
    status.height += 50;
    f["GroupStatus"].setBounds(status);
    f["ListStatus"].setHeight(f["ListStatus"].bounds().height + 50);
    for (const char* name : {"ButSalvar", "ButLimpar"}) f[name].setTop(f[name].bounds().top + 50);
  }
  f["lblAtual"].setLeft(f["lblAtual"].bounds().left + (customer ? -2 : 2));
  f["lblAtual"].setTop(22);
  f["ProgressAtual"].setTop(20);
  f["lblPorcAtual"].setTop(20);
  f["lblTotal"].setTop(57);
  f["ProgressTotal"].setTop(55);
  f["lblPorcTotal"].setTop(55);
}

void TKadMain::askFirstStartQuestion() {
  // The brand file is opened a second time here; the new handle replaces the first.
  brandIni_ = std::make_unique<platform::IniFile>(programDir() / brandIniName());
  std::string automatic = brandIni().readString(config::kAtualiza, config::kAutomatico, "");
  if (automatic.empty()) {
    form["Atualiz_sempre"].setChecked(false);
    language_ = languageFromText(brandIni().readString(config::kConfig, config::kLanguage, ""));
    fillCatalog();
    if (dialogs().messageBox(text(TextId::TitleInformation), text(TextId::MsgAskAutoUpdate), ui::Buttons::YesNo,
                             ui::Icon::Information) == ui::Answer::Yes) {
      form["Atualiz_sempre"].setChecked(true);
      automatic = config::kAutomaticYes;
    } else {
      form["Atualiz_sempre"].setChecked(false);
      automatic = config::kAutomaticNo;
    }
    brandIni().writeString(config::kAtualiza, config::kAutomatico, automatic);
  }
  brandIni().writeString(config::kVersion, config::kVerKad, config::kProgramVersion);
  if (automatic == config::kAutomaticYes) {
    form["Atualiz_sempre"].setChecked(true);
    form.root().setVisible(true);
    if (startupUpdateCheck) startupUpdateCheck();
  }
}

void TKadMain::Atualiz_sempreClick() {
  auto& item = form["Atualiz_sempre"];
  const bool enable = !item.checked();
  item.setChecked(enable);
  brandIni().writeString(config::kAtualiza, config::kAutomatico, enable ? config::kAutomaticYes : config::kAutomaticNo);
}

void TKadMain::FormClose() {
  // The configuration files hold no open handle between operations; nothing stays to release.
  // The web server of the TP model is stopped by its own subsystem when it runs one.
  if (onCloseTpServer) onCloseTpServer();
}

void TKadMain::FormDestroy() {
  if (onCloseTpServer) onCloseTpServer();
}

}  // namespace kad
