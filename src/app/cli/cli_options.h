#pragma once
#include <optional>
#include <string>
#include <vector>

namespace kad::cli {

enum class DefaultAnswer { Ask, Yes, No };

struct CliOptions {
  std::optional<std::string> model;  // catalogue name ("RQV527E1") or member name ("E1")
  std::optional<std::string> link;   // "usb", "serial" or "ethernet"
  std::optional<int> port;           // COM port number 1..8
  DefaultAnswer answer = DefaultAnswer::Ask;
  std::optional<std::string> answersFile;
  std::optional<double> timeoutSeconds;
  bool help = false;
};

// Parses the command line; on a usage error returns nothing and sets the message.
std::optional<CliOptions> parseOptions(const std::vector<std::string>& arguments, std::string& error);

extern const char* const kUsage;

}  // namespace kad::cli
