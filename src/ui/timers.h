#pragma once
#include "ui/form.h"
#include "ui/main_loop.h"

namespace kad::ui {

// Runs every Timer control of the form on the loop while it is enabled.
void bindTimers(Form& form, MainLoop& loop);

}  // namespace kad::ui
