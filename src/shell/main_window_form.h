#pragma once
#include "ui/form.h"

namespace kad {

// Builds the main window's controls with their form settings: the layout the engineering
// build shows; the other profiles rearrange it at start. The model, link-mode, port,
// options and extras groups, the logos and "Gravar páginas" are zero-sized and hidden.
void buildMainWindowForm(ui::Form& form);

// The eight operator fields, in the order the window lists them.
inline constexpr const char* kOperatorFields[] = {"EditNomeCliente", "MaskNSerie", "EditTipoHard", "EditCPU",
                                                  "EditEquip",       "EditBateria", "EditDisplay", "EditSliver"};
inline constexpr const char* kEmptySerialNumber = "  .  .   ";

}  // namespace kad
