#pragma once
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/process.h"
#include "shell/kad_main.h"
#include "support/manual_loop.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace kad::test {

// Records the programs the engine starts instead of starting them.
class RecordingProcesses final : public platform::Processes {
 public:
  struct Started {
    std::filesystem::path program;
    std::vector<std::string> arguments;
    std::filesystem::path workingDirectory;
  };
  bool start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
             const std::filesystem::path& workingDirectory) override {
    started.push_back({program, arguments, workingDirectory});
    return true;
  }
  std::vector<Started> started;
};

// A main window in a temporary program directory with scripted dialogs and a manual loop.
// Write configuration files with writeFile() before calling create().
class KadHarness {
 public:
  explicit KadHarness(std::string profileName = "Cliente") : profileName_(std::move(profileName)) {}

  std::filesystem::path programDir() const { return dir.path() / ""; }
  void writeFile(const std::string& name, const std::string& content) const {
    std::ofstream(dir.path() / name, std::ios::binary) << content;
  }
  std::string readFile(const std::string& name) const {
    std::ifstream in(dir.path() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // Builds the window; start() also runs the start-up sequence.
  TKadMain& create() {
    main = std::make_unique<TKadMain>(profileName_, KadMainEnvironment{programDir(), dialogs, loop, clock, processes});
    return *main;
  }
  TKadMain& start() {
    create().FormCreate();
    return *main;
  }
  // Starts without the first-start question, in the given language.
  TKadMain& startIdle(const std::string& language = "English") {
    const std::string brandFile = "[Config]\nLanguage=" + language + "\n[Atualiza]\nAutomatico=N?o\n";
    writeFile("DORN.ini", brandFile);
    writeFile("NEB.ini", brandFile);
    return start();
  }
  std::vector<std::string> log() const { return main->form["ListStatus"].items(); }

  TempDir dir;
  ScriptedDialogs dialogs;
  ManualLoop loop;
  ManualClock clock;
  RecordingProcesses processes;
  std::unique_ptr<TKadMain> main;

 private:
  std::string profileName_;
};

}  // namespace kad::test
