#pragma once
#include <cstdio>
#include <mutex>

#include "shell/kad_main.h"

namespace kad::cli {

// Shows the main window's status log and progress bars on the console as they change:
// log lines on standard output (in their log colours on a terminal), the two progress
// bars on standard error when it is a terminal.
class ConsoleView {
 public:
  ConsoleView(TKadMain& main, std::FILE* out, std::FILE* err);
  // Prints the lines the log gained since the last call.
  void printNewLines();
  // Leaves the progress line so the next output starts on a fresh line.
  void finish();

 private:
  void drawProgress();

  TKadMain& main_;
  std::FILE* out_;
  std::FILE* err_;
  bool colours_;
  bool progressShown_;
  bool progressOnLine_ = false;
  int printed_ = 0;
  std::mutex mutex_;
};

}  // namespace kad::cli
