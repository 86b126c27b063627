// The hardware-version rules of the hardware fields.
#include "shell/kad_main.h"

namespace kad {

void TKadMain::verificaHardZ() {}

}  // namespace kad
