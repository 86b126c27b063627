// Making a model the current one.
#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad {

void TKadMain::selectModel(EquipmentModel model) {
  model = normalizedModel(model);
  currentModel = model;
  programIni().writeString(config::kConfig, config::kUnit, text(modelCaptionId(model)));
}

}  // namespace kad
