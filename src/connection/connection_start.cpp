// "Estabelecer Conexão": the pre-checks, the connection header of the log, the locking of
// the setup controls and the start of the connection on the current link.
#include "connection/connection_start.h"

#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad {
namespace {

bool hasPageOptions(EquipmentModel model) {
  const int code = static_cast<int>(model);
  return code >= static_cast<int>(EquipmentModel::E1) && code <= static_cast<int>(EquipmentModel::DSL2);
}

}  // namespace

bool TKadMain::connectionPreChecks() {
  auto& f = form;
  const EquipmentModel model = normalizedModel(currentModel.load());
  if (loaderMode && linkMode.load() != LinkMode::Serial) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgSerialOnly), ui::Buttons::Ok, ui::Icon::Error);
    return false;
  }
  const bool anyOption = f["chkPageX"].checked() || f["chkAllPages"].checked() || f["chkLoader"].checked() ||
                         f["chkApagar"].checked() || f["chkGravComPagCalib"].checked();
  if (profile() == ProfileEngineering && !anyOption && hasPageOptions(model)) {
    dialogs().messageBox(text(TextId::TitleWarning), text(TextId::MsgSelectOption), ui::Buttons::Ok,
                         ui::Icon::Warning);
    return false;
  }
  const auto ask = [&](TextId question) {
    return dialogs().askYesNo(text(TextId::TitleWarning), text(question), ui::Icon::Warning);
  };
  const bool lineTester = model == EquipmentModel::E1 || model == EquipmentModel::T1;
  const bool tim = model == EquipmentModel::TIM || model == EquipmentModel::TIMSK;
  if (profile() == ProfileEngineering && lineTester && f["chkApagar"].checked()) {
    return ask(TextId::MsgCalibWillBeErased);
  }
  if (profile() == ProfileEngineering && tim && f["chkGravComPagCalib"].checked()) {
    return ask(TextId::MsgCalibPageSelected);
  }
  if (profile() == ProfileRG && (model == EquipmentModel::TIM || model == EquipmentModel::OPM) &&
      f["chkGravComPagCalib"].checked()) {
    return ask(TextId::MsgCalibPageSelected);
  }
  f["chkAllPages"].setChecked(true);
  return true;
}

void TKadMain::ButIniciarClick() {
  if (!connectionPreChecks()) return;
  auto& f = form;
  const auto rawModel = currentModel.load();
  const EquipmentModel model = normalizedModel(rawModel);

  connection.connectionClosed = false;
  f["ProgressAtual"].setPosition(0);
  f["ProgressTotal"].setPosition(0);
  connection.uploadFinished = false;
  if (!(profile() == ProfileEngineering || (profile() == ProfileRG && model == EquipmentModel::TIM))) {
    f["EditPag"].setEnabled(false);
  }
  updatePercentLabels();

  appendLog("");
  appendLog(text(TextId::MsgUnitPrefix) + programIni().readString(config::kConfig, config::kUnit, ""));
  appendLog(text(TextId::MsgModePrefix) + programIni().readString(config::kConfig, config::kMode, ""));
  if (linkMode.load() == LinkMode::Serial) {
    appendLog(text(TextId::MsgPortPrefix) + programIni().readString(config::kConfig, config::kPort, "0"));
  }
  scrollLog();

  for (const char* control : kConnectionLockedControls) f[control].setEnabled(false);
  for (const char* control : {"Lingua1", "chkSincDataHora", "chkSelModulos"}) f[control].setEnabled(false);

  switch (linkMode.load()) {
    case LinkMode::USB:
      if (!connectUsbUnit(rawModel)) return;
      break;
    case LinkMode::Serial:
    case LinkMode::Ethernet:
      // The serial and Ethernet connections start with their links.
      break;
  }
  f["ProgressAtual"].setPosition(0);
  f["ProgressTotal"].setPosition(0);
  updatePercentLabels();
}

bool TKadMain::connectUsbUnit(EquipmentModel rawModel) {
  auto& f = form;
  const EquipmentModel model = normalizedModel(rawModel);
  for (const char* option : {"chkPageX", "chkAllPages", "chkLoader", "chkApagar"}) f[option].setEnabled(false);
  appendLog(text(TextId::MsgWaitingUsb));
  f["ButIniciar"].setEnabled(false);
  f["ButCancelar"].setEnabled(true);

  const int code = static_cast<int>(rawModel);
  const bool pressF3 = hasPageOptions(rawModel) || rawModel == EquipmentModel::TP || code > 12;
  TextId instruction = TextId::MsgUsbTurnOnNormally;
  if (pressF3) {
    instruction = TextId::MsgUsbPlugF3;
  } else if (profile() == ProfileEngineering && rawModel != EquipmentModel::CPU206) {
    instruction = TextId::MsgPressF2F3On;
  }
  dialogs().messageBox(text(TextId::TitleInformation), text(instruction), ui::Buttons::Ok, ui::Icon::Information);

  const auto giveUp = [&] {
    f["chkPageX"].setChecked(false);
    f["chkAllPages"].setEnabled(true);
  };
  if (!FindUnitDrive()) {
    EndConnection();
    giveUp();
    return true;
  }
  usb.readHeaderRequested = true;
  usb.readIdentityRequested = true;
  if (!ReadUnitFile()) {
    EndConnection();
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgUsbReadError), ui::Buttons::Ok, ui::Icon::Error);
    giveUp();
    return true;
  }
  if (!checkUsbModelByte()) return false;

  f["ButPaginas"].setEnabled(true);
  if (profile() != ProfileEngineering) {
    if (profile() == ProfileRG && model == EquipmentModel::DSL2) {
      f["EditNomeCliente"].setEnabled(true);
      f["MaskNSerie"].setEnabled(true);
    } else if (profile() == ProfileRG ||
               !(model == EquipmentModel::E1 && f["chkSelModulos"].checked())) {
      f["ButPaginas"].click();
    }
  }
  appendLog(text(TextId::MsgUsbConnected));
  return true;
}

}  // namespace kad
