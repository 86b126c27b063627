// The status log, the progress labels and the shared routines of the main window.
#include "shell/kad_main.h"

namespace kad {

void TKadMain::appendLog(const std::string& line) {
  form["ListStatus"].addItem(line);
  scrollLog();
}

// Keeps the last 15 lines in view.
void TKadMain::scrollLog() {
  auto& list = form["ListStatus"];
  const int count = list.itemCount();
  if (count >= 16) list.setTopIndex(count - 15);
}

void TKadMain::updatePercentLabels() {
  auto percent = [](const ui::Control& bar) {
    const int max = bar.max();
    return std::to_string(max > 0 ? bar.position() * 100 / max : 0) + "%";
  };
  form["lblPorcAtual"].setCaption(percent(form["ProgressAtual"]));
  form["lblPorcTotal"].setCaption(percent(form["ProgressTotal"]));
}

}  // namespace kad
