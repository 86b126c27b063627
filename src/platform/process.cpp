#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace kad::platform {

std::filesystem::path executablePath() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

std::filesystem::path programDirectory() {
  auto directory = executablePath().parent_path();
  if (directory.empty()) directory = std::filesystem::current_path();
  return directory / "";
}

std::filesystem::path findOnSearchPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  std::size_t begin = 0;
  while (begin <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', begin), folders.size());
    const std::filesystem::path candidate = std::filesystem::path(folders.substr(begin, end - begin)) / name;
    if (end > begin && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    begin = end + 1;
  }
  return {};
}

bool SystemProcesses::start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                            const std::filesystem::path& workingDirectory) {
  std::vector<std::string> argumentTexts;
  argumentTexts.push_back(program.string());
  argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& text : argumentTexts) argv.push_back(text.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  pid_t pid = 0;
  const int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) return false;
  // The started program may outlive us; while we live, reap it when it ends.
  std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
  return true;
}

}  // namespace kad::platform
