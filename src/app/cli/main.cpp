// kad-cli: the uploader from the console, over the same engine, profile and files as kad-main.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_console.h"
#include "cli_dialogs.h"
#include "cli_loop.h"
#include "cli_options.h"
#include "models/model_catalogue.h"
#include "shell/kad_main.h"
#include "ui/timers.h"

namespace {

using namespace kad;

constexpr int kExitComplete = 0, kExitFailed = 1, kExitUsage = 2, kExitTimeout = 3;

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A catalogue name ("RQV527E1", as the current language and brand spell it) or a member
// name ("E1"), without regard to case.
std::optional<EquipmentModel> modelByName(const TKadMain& main, const std::string& name) {
  static const char* const members[kModelCount] = {"OPM", "OTDR", "OTDR160", "OTDR170",   "E1", "T1",    "TIM",
                                                   "TIMSK", "DSL2", "CATV", "MEGOMETRO", "TP", "CPU206"};
  for (int code = 0; code < kModelCount; ++code) {
    const auto model = static_cast<EquipmentModel>(code);
    if (lower(name) == lower(members[code]) || lower(name) == lower(main.text(modelCaptionId(model)))) return model;
  }
  return std::nullopt;
}

int usage(const std::string& message) {
  std::fprintf(stderr, "kad-cli: %s\n\n%s", message.c_str(), cli::kUsage);
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = cli::parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) return usage(error);
  if (options->help) {
    std::fputs(cli::kUsage, stdout);
    return kExitComplete;
  }
  std::vector<cli::AnswerRule> rules;
  if (options->answersFile) {
    auto read = cli::readAnswerRules(*options->answersFile, error);
    if (!read) return usage(error);
    rules = std::move(*read);
  }

  cli::CliLoop loop;
  cli::CliDialogs dialogs(std::move(rules), options->answer, stdout);
  platform::SystemClock clock;
  platform::SystemProcesses processes;
  TKadMain main(KAD_PROFILE, {platform::programDirectory(), dialogs, loop, clock, processes});
  cli::ConsoleView console(main, stdout, stderr);
  ui::bindTimers(main.form, loop);
  const auto deadline = options->timeoutSeconds
                            ? std::chrono::steady_clock::now() +
                                  std::chrono::milliseconds(static_cast<long long>(*options->timeoutSeconds * 1000))
                            : std::chrono::steady_clock::time_point::max();

  main.FormCreate();

  if (options->model) {
    const auto model = modelByName(main, *options->model);
    if (!model) return usage("unknown model: " + *options->model);
    main.selectModel(*model);
  }
  if (options->link) {
    const LinkMode mode = *options->link == "usb"      ? LinkMode::USB
                          : *options->link == "serial" ? LinkMode::Serial
                                                       : LinkMode::Ethernet;
    if (!(modelInfo(main.currentModel).links & linkBit(mode))) {
      return usage("the model " + main.text(modelCaptionId(main.currentModel)) + " offers no " + *options->link +
                   " link");
    }
    const char* radio = mode == LinkMode::USB ? "RadioUSB" : mode == LinkMode::Serial ? "RadioSerial" : "RadioEthernet";
    main[radio].setChecked(true);
  }
  if (options->port) main["RadioCOM" + std::to_string(*options->port)].setChecked(true);

  // Press "Estabelecer Conexão" and let the flow run until the connection has ended and no
  // worker is left.
  const int firstLine = main["ListStatus"].itemCount();
  bool pressed = false;
  loop.post([&] {
    main["ButIniciar"].click();
    pressed = true;
  });
  const bool finished = loop.run(
      [&] { return pressed && main["ButIniciar"].enabled() && !main.uploadThread.running(); }, deadline);
  console.printNewLines();
  console.finish();
  if (!finished) {
    std::fprintf(stderr, "kad-cli: the time given with --timeout ran out\n");
    std::fflush(stdout);
    std::_Exit(kExitTimeout);  // a worker may still be blocked on the unit
  }
  const std::string complete = main.text(TextId::MsgOperationComplete);
  const auto lines = main["ListStatus"].items();
  bool completed = false;
  for (std::size_t i = static_cast<std::size_t>(firstLine); i < lines.size(); ++i) completed |= lines[i] == complete;
  main.FormClose();
  return completed ? kExitComplete : kExitFailed;
}
