// kad-unitsim: a simulated unit for the uploader's tests and demo.
#include <csignal>
#include <iostream>
#include <thread>

#include "command_line.h"
#include "unit_state.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;
void onStopSignal(int) { stopSignal = 1; }

int runUsb(const kad::unitsim::Command& command) {
  kad::unitsim::UsbDriveUnit unit(command.usb);
  std::string error;
  if (!unit.plugIn(error)) {
    std::cerr << "kad-unitsim: " << error << '\n';
    return 2;
  }
  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
  std::cout << "kad-unitsim: unit " << kad::unitsim::modelName(command.usb.identity.model) << " ready on "
            << command.usb.drive.string() << std::endl;

  const auto started = std::chrono::steady_clock::now();
  while (stopSignal == 0) {
    const auto now = std::chrono::steady_clock::now();
    unit.poll(now);
    if (unit.vanished()) break;
    if (command.exitAfterLast && unit.finished()) break;
    if (command.maxTime && now - started >= *command.maxTime) break;
    std::this_thread::sleep_for(command.usb.pollInterval);
  }
  const auto memory = unit.memory();
  std::cout << "kad-unitsim: " << memory.events.size() << " taken" << (memory.vanished ? ", drive removed" : "")
            << std::endl;
  return 0;
}

int inspect(const kad::unitsim::Command& command) {
  const auto memory = kad::unitsim::loadState(command.stateFile);
  if (!memory) {
    std::cerr << "kad-unitsim: cannot read the state " << command.stateFile.string() << '\n';
    return 2;
  }
  std::cout << kad::unitsim::describeMemory(*memory);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  const auto command = kad::unitsim::parseCommandLine(arguments, error);
  if (!command) {
    std::cerr << "kad-unitsim: " << error << '\n' << kad::unitsim::usageText();
    return 2;
  }
  switch (command->action) {
    case kad::unitsim::Command::Action::Usb: return runUsb(*command);
    case kad::unitsim::Command::Action::Inspect: return inspect(*command);
    case kad::unitsim::Command::Action::Help: break;
  }
  std::cout << kad::unitsim::usageText();
  return 0;
}
