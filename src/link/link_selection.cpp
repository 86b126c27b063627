// The link-mode and port choices of the main window.
#include "link/link_selection.h"

#include <cstdlib>
#include <string>

#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad {

std::filesystem::path comPortDevicePath(int port) {
  const std::string variable = "KAD_COM" + std::to_string(port);
  if (const char* device = std::getenv(variable.c_str()); device && *device) return device;
  return "/dev/ttyS" + std::to_string(port - 1);
}

bool ComPortAvailable(int port) {
  std::error_code error;
  return port >= 1 && port <= 8 && std::filesystem::exists(comPortDevicePath(port), error);
}

void TKadMain::RadioSerialClick() {
  programIni().writeString(config::kConfig, config::kMode, "Serial");
  linkMode = LinkMode::Serial;
  form["chkDataHora"].setEnabled(false);
  form["chkDataHora"].setChecked(false);
  form["GroupCOM"].setVisible(true);
  if (profile_ == ProfileEngineering || (profile_ == ProfileRG && normalizedModel(currentModel) == EquipmentModel::TIM)) {
    // The loader is written alone.
    if (!form["chkAllPages"].checked() && !form["chkPageX"].checked() && !form["chkGravComPagCalib"].checked()) {
      form["chkLoader"].setEnabled(true);
    }
    form["chkDataHora"].setEnabled(false);
    form["chkDataHora"].setChecked(false);
  } else {
    form["ButApagaCampos"].setVisible(false);
  }
  for (int port = 1; port <= 8; ++port) form["RadioCOM" + std::to_string(port)].setEnabled(ComPortAvailable(port));
}

void TKadMain::RadioEthernetClick() {
  programIni().writeString(config::kConfig, config::kMode, "Ethernet");
  linkMode = LinkMode::Ethernet;
  form["GroupCOM"].setVisible(false);
  form["chkLoader"].setEnabled(false);
  form["chkLoader"].setChecked(false);
  form["chkDataHora"].setEnabled(false);
  form["chkDataHora"].setChecked(false);
  form["chkSincDataHora"].setEnabled(true);
}

void TKadMain::RadioUSBClick() {
  programIni().writeString(config::kConfig, config::kMode, "USB");
  linkMode = LinkMode::USB;
  form["GroupCOM"].setVisible(false);
  form["chkLoader"].setEnabled(false);
  form["chkLoader"].setChecked(false);
  form["chkSincDataHora"].setEnabled(false);
  form["chkSincDataHora"].setChecked(false);
  const auto model = currentModel.load();
  if (model == EquipmentModel::E1 || model == EquipmentModel::T1 || model == EquipmentModel::TIM ||
      model == EquipmentModel::TIMSK) {
    form["chkDataHora"].setEnabled(true);
  }
}

void TKadMain::RadioCOMClick(int port) {
  comPort = port;
  programIni().writeInteger(config::kConfig, config::kPort, port);
  comPortName = "COM" + std::to_string(port);
}

}  // namespace kad
