// The link-mode choice of the main window.
#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad {

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

}  // namespace kad
