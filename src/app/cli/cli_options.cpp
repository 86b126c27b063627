#include "cli_options.h"

#include <charconv>
#include <stdexcept>

namespace kad::cli {

const char* const kUsage =
    "Usage: kad-cli [--model NAME] [--link usb|serial|ethernet] [--port N] [--yes|--no]\n"
    "               [--answers FILE] [--timeout S]\n"
    "\n"
    "Updates one unit from the console with the same engine, profile and configuration files\n"
    "as kad-main (KAD.ini and the brand file next to this program). It selects the model and\n"
    "the link, presses \"Estabelecer Conexão\" and lets the update run.\n"
    "\n"
    "  --model NAME      the model: a catalogue name (RQV527E1) or a member name (E1).\n"
    "                    Default: the model selected at start (E1).\n"
    "  --link L          usb, serial or ethernet. Default: the link the model selection\n"
    "                    leaves; a link the model does not offer is a usage error.\n"
    "  --port N          serial port number 1..8 (COMn).\n"
    "  --yes, --no       the answer to every Yes/No question no answers-file rule matches.\n"
    "  --answers FILE    rules for Yes/No questions, first match wins, one per line:\n"
    "                      yes REGEX      or      no REGEX\n"
    "                    (REGEX is searched in the question's text; '#' starts a comment).\n"
    "                    Unanswered questions are asked on the terminal, or answered No\n"
    "                    when standard input is not a terminal.\n"
    "  --timeout S       give up after S seconds.\n"
    "  --help            this text.\n"
    "\n"
    "Status log lines go to standard output as they are written; message boxes are printed as\n"
    "\"[title] text\"; progress bars go to standard error when it is a terminal.\n"
    "\n"
    "Exit codes: 0 the update ended with \"Operation complete.\", 1 the connection ended\n"
    "otherwise, 2 bad usage, 3 the timeout ran out.\n";

std::optional<CliOptions> parseOptions(const std::vector<std::string>& arguments, std::string& error) {
  CliOptions options;
  bool answerGiven = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&](const char* name) -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) {
        error = std::string(name) + " needs a value";
        return std::nullopt;
      }
      return arguments[++i];
    };
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--model") {
      if (!(options.model = value("--model"))) return std::nullopt;
    } else if (argument == "--link") {
      auto link = value("--link");
      if (!link) return std::nullopt;
      if (*link != "usb" && *link != "serial" && *link != "ethernet") {
        error = "unknown link: " + *link;
        return std::nullopt;
      }
      options.link = link;
    } else if (argument == "--port") {
      auto text = value("--port");
      if (!text) return std::nullopt;
      int port = 0;
      const auto [end, failure] = std::from_chars(text->data(), text->data() + text->size(), port);
      if (failure != std::errc() || end != text->data() + text->size() || port < 1 || port > 8) {
        error = "--port takes a number from 1 to 8";
        return std::nullopt;
      }
      options.port = port;
    } else if (argument == "--yes" || argument == "--no") {
      if (answerGiven) {
        error = "--yes and --no exclude each other";
        return std::nullopt;
      }
      answerGiven = true;
      options.answer = argument == "--yes" ? DefaultAnswer::Yes : DefaultAnswer::No;
    } else if (argument == "--answers") {
      if (!(options.answersFile = value("--answers"))) return std::nullopt;
    } else if (argument == "--timeout") {
      auto text = value("--timeout");
      if (!text) return std::nullopt;
      try {
        std::size_t used = 0;
        const double seconds = std::stod(*text, &used);
        if (used != text->size() || !(seconds > 0)) throw std::invalid_argument("timeout");
        options.timeoutSeconds = seconds;
      } catch (const std::exception&) {
        error = "--timeout takes a positive number of seconds";
        return std::nullopt;
      }
    } else {
      error = "unknown argument: " + argument;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace kad::cli
