#include "cli_console.h"

#include <unistd.h>

#include <string>

namespace kad::cli {
namespace {

// The log colours as terminal colours (foreground;background).
const char* ansiFor(ui::Color background) {
  switch (background) {
    case ui::colors::Lime: return "\033[30;102m";
    case ui::colors::Red: return "\033[97;41m";
    case ui::colors::Blue: return "\033[97;44m";
    case ui::colors::Yellow: return "\033[30;103m";
    case ui::colors::Aqua: return "\033[30;106m";
    case ui::colors::Grey: return "\033[97;100m";
    default: return nullptr;
  }
}

std::string bar(const ui::Control& progress) {
  const int max = progress.max();
  const int position = progress.position();
  const int percent = max > 0 ? position * 100 / max : 0;
  const int filled = max > 0 ? position * 20 / max : 0;
  return "[" + std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(20 - filled), '.') +
         "] " + std::to_string(percent) + "%";
}

}  // namespace

ConsoleView::ConsoleView(TKadMain& main, std::FILE* out, std::FILE* err)
    : main_(main),
      out_(out),
      err_(err),
      colours_(::isatty(::fileno(out)) != 0),
      progressShown_(::isatty(::fileno(err)) != 0) {
  main_.form.addObserver([this](ui::Control& control, ui::Property property) {
    if (control.name() == "ListStatus" && property == ui::Property::Items) {
      printNewLines();
    } else if ((control.name() == "ProgressAtual" || control.name() == "ProgressTotal") &&
               (property == ui::Property::Position || property == ui::Property::Max)) {
      std::lock_guard lock(mutex_);
      drawProgress();
    }
  });
}

void ConsoleView::printNewLines() {
  std::lock_guard lock(mutex_);
  auto& list = main_["ListStatus"];
  const int count = list.itemCount();
  if (count < printed_) printed_ = 0;  // the operator cleared the log
  if (printed_ == count) return;
  if (progressOnLine_) {
    std::fputs("\r\033[K", err_);
    progressOnLine_ = false;
  }
  for (; printed_ < count; ++printed_) {
    const std::string line = list.item(printed_);
    const char* colour = colours_ ? ansiFor(main_.ListStatusDrawItem(printed_).background) : nullptr;
    if (colour) std::fprintf(out_, "%s%s\033[0m\n", colour, line.c_str());
    else std::fprintf(out_, "%s\n", line.c_str());
  }
  std::fflush(out_);
  drawProgress();
}

void ConsoleView::drawProgress() {
  if (!progressShown_) return;
  std::fprintf(err_, "\r\033[Kcurrent %s  total %s", bar(main_["ProgressAtual"]).c_str(),
               bar(main_["ProgressTotal"]).c_str());
  std::fflush(err_);
  progressOnLine_ = true;
}

void ConsoleView::finish() {
  std::lock_guard lock(mutex_);
  if (progressOnLine_) std::fputs("\n", err_);
  progressOnLine_ = false;
}

}  // namespace kad::cli
