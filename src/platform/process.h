#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace kad::platform {

// The directory of the running executable, with a trailing separator.
std::filesystem::path programDirectory();
std::filesystem::path executablePath();
// The program of that name in the folders of PATH; empty when there is none.
std::filesystem::path findOnSearchPath(const std::string& name);

// Starting other programs; the engine sees this so tests can watch what it starts.
class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the program without a shell; false when it could not be started.
  virtual bool start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                     const std::filesystem::path& workingDirectory) = 0;
};

class SystemProcesses final : public Processes {
 public:
  bool start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
             const std::filesystem::path& workingDirectory) override;
};

}  // namespace kad::platform
