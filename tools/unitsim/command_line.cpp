#include "command_line.h"

#include <charconv>
#include <functional>
#include <map>

namespace kad::unitsim {
namespace {

// Decimal, or hexadecimal with "0x".
std::optional<unsigned long> parseNumber(std::string_view text, unsigned long maximum) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  unsigned long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > maximum)
    return std::nullopt;
  return value;
}

std::optional<std::uint16_t> parseWord(std::string_view text) {
  const auto value = parseNumber(text, 0xFFFF);
  return value ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*value)) : std::nullopt;
}

// "A,B": two words.
std::optional<std::array<std::uint16_t, 2>> parseWordPair(std::string_view text) {
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto first = parseWord(text.substr(0, comma));
  const auto second = parseWord(text.substr(comma + 1));
  if (!first || !second) return std::nullopt;
  return std::array<std::uint16_t, 2>{*first, *second};
}

}  // namespace

std::string usageText() {
  return "usage:\n"
         "  kad-unitsim usb --drive DIR [--model E1] [--family N] [--revision N] [--hard TEXT|0xWORD]\n"
         "      [--client NAME] [--serial 12.34.567] [--versions 12-34-56] [--sliver TEXT]\n"
         "      [--module-word 0xWORD] [--check-words A,B] [--calibration A,B] [--model-byte N] [--lineup]\n"
         "      [--fault never|late:N[:MS]|vanish:N|wrong-model|wrong-family] [--state FILE]\n"
         "      [--poll-ms MS] [--exit-after-last] [--max-seconds S]\n"
         "  kad-unitsim inspect --state FILE\n";
}

std::optional<Command> parseCommandLine(std::span<const std::string> arguments, std::string& error) {
  Command command;
  if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "help") return command;
  if (arguments[0] == "usb") {
    command.action = Command::Action::Usb;
  } else if (arguments[0] == "inspect") {
    command.action = Command::Action::Inspect;
  } else {
    error = "unknown command \"" + arguments[0] + "\"";
    return std::nullopt;
  }

  auto& usb = command.usb;
  auto& id = usb.identity;
  using Setter = std::function<bool(const std::string&)>;
  auto word = [](std::uint16_t& target) {
    return Setter([&target](const std::string& v) {
      const auto w = parseWord(v);
      if (w) target = *w;
      return w.has_value();
    });
  };
  auto optionalWord = [](std::optional<std::uint16_t>& target) {
    return Setter([&target](const std::string& v) {
      target = parseWord(v);
      return target.has_value();
    });
  };
  auto pair = [](std::array<std::uint16_t, 2>& target) {
    return Setter([&target](const std::string& v) {
      const auto p = parseWordPair(v);
      if (p) target = *p;
      return p.has_value();
    });
  };
  auto text = [](std::string& target) {
    return Setter([&target](const std::string& v) {
      target = v;
      return true;
    });
  };
  auto path = [](std::filesystem::path& target) {
    return Setter([&target](const std::string& v) {
      target = v;
      return !v.empty();
    });
  };
  const std::map<std::string, Setter, std::less<>> withValue = {
      {"--drive", path(usb.drive)},
      {"--state", path(command.action == Command::Action::Usb ? usb.stateFile : command.stateFile)},
      {"--model", [&id](const std::string& v) {
         const auto model = modelFromName(v);
         if (model) id.model = *model;
         return model.has_value();
       }},
      {"--family", optionalWord(id.familyCode)},
      {"--revision", word(id.revision)},
      {"--hard", [&id](const std::string& v) {
         if (v.starts_with("0x") || v.starts_with("0X")) {
           id.hardwareWord = parseWord(v);
           return id.hardwareWord.has_value();
         }
         id.hardwareType = v;
         return true;
       }},
      {"--client", text(id.client)},
      {"--serial", text(id.serial)},
      {"--versions", text(id.versions)},
      {"--sliver", text(id.sliver)},
      {"--module-word", word(id.moduleWord)},
      {"--check-words", pair(id.checkWords)},
      {"--calibration", pair(id.calibrationWords)},
      {"--model-byte", [&id](const std::string& v) {
         const auto value = parseNumber(v, 0xFF);
         if (value) id.modelByte = static_cast<std::uint8_t>(*value);
         return value.has_value();
       }},
      {"--fault", [&usb](const std::string& v) {
         const auto fault = parseUsbFault(v);
         if (fault) usb.fault = *fault;
         return fault.has_value();
       }},
      {"--poll-ms", [&usb](const std::string& v) {
         const auto ms = parseNumber(v, 10000);
         if (ms && *ms > 0) usb.pollInterval = std::chrono::milliseconds(*ms);
         return ms && *ms > 0;
       }},
      {"--max-seconds", [&command](const std::string& v) {
         const auto s = parseNumber(v, 24 * 3600);
         if (s) command.maxTime = std::chrono::seconds(*s);
         return s.has_value();
       }},
  };

  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const auto& name = arguments[i];
    if (name == "--lineup") {
      id.lineup = true;
      continue;
    }
    if (name == "--exit-after-last") {
      command.exitAfterLast = true;
      continue;
    }
    const auto setter = withValue.find(name);
    if (setter == withValue.end()) {
      error = "unknown option \"" + name + "\"";
      return std::nullopt;
    }
    if (i + 1 >= arguments.size() || !setter->second(arguments[i + 1])) {
      error = "bad or missing value for " + name;
      return std::nullopt;
    }
    ++i;
  }
  if (command.action == Command::Action::Usb && usb.drive.empty()) {
    error = "usb needs --drive";
    return std::nullopt;
  }
  if (command.action == Command::Action::Inspect && command.stateFile.empty()) {
    error = "inspect needs --state";
    return std::nullopt;
  }
  return command;
}

}  // namespace kad::unitsim
