#pragma once
#include "ui/background_work.h"

namespace kad::qt {

// Runs the work on a helper thread while the calling (user-interface) thread waits in a
// local event loop that keeps the windows painting but takes no input, so the operator
// cannot start anything else meanwhile.
ui::BackgroundWork backgroundWorkWithPainting();

}  // namespace kad::qt
