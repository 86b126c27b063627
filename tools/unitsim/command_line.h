#pragma once
// The options of kad-unitsim, read into what the simulator runs.
#include <chrono>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "usb_drive.h"

namespace kad::unitsim {

struct Command {
  enum class Action { Usb, Inspect, Help };
  Action action = Action::Help;
  UsbUnitOptions usb;
  bool exitAfterLast = false;                    // stop once a last record or an image is taken
  std::optional<std::chrono::milliseconds> maxTime;
  std::filesystem::path stateFile;               // inspect: the state to print
};

// Empty with `error` set when the arguments (after the program name) are not understood.
std::optional<Command> parseCommandLine(std::span<const std::string> arguments, std::string& error);
std::string usageText();

}  // namespace kad::unitsim
