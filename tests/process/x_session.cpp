#include "process/x_session.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <thread>

extern char** environ;

namespace kad::test {

XSession::XSession() {
  int fds[2];
  if (::pipe(fds) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  const std::string fd = std::to_string(fds[1]);
  std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (posix_spawnp(&server_, "Xvfb", &actions, nullptr, argv.data(), environ) != 0) server_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  // Xvfb writes the display number it took once it accepts connections.
  std::string number;
  char c = 0;
  while (server_ > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  if (!number.empty()) display_ = std::stoi(number);
}

XSession::~XSession() {
  if (server_ > 0) {
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
  }
}

std::string XSession::run(const std::string& command) const {
  const std::string full = "DISPLAY=" + display() + " " + command + " 2>/dev/null";
  std::string output;
  if (FILE* pipe = ::popen(full.c_str(), "r")) {
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    ::pclose(pipe);
  }
  return output;
}

std::vector<std::string> XSession::windows(const std::string& titlePattern) const {
  std::istringstream ids(run("xdotool search --onlyvisible --name '" + titlePattern + "'"));
  std::vector<std::string> result;
  for (std::string id; ids >> id;) result.push_back(id);
  return result;
}

bool XSession::pressKeys(const std::string& titlePattern, const std::string& keys) const {
  const auto found = windows(titlePattern);
  if (found.empty()) return false;
  run("xdotool windowfocus --sync " + found.front() + " key --delay 100 " + keys);
  return true;
}

bool XSession::screenshot(const std::filesystem::path& png) const {
  std::filesystem::create_directories(png.parent_path());
  run("import -window root '" + png.string() + "'");
  return std::filesystem::exists(png);
}

pid_t startProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment, const std::filesystem::path& output) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (!environment.count(entry.substr(0, entry.find('=')))) env.push_back(entry);
  }
  for (const auto& [name, value] : environment) env.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = {program.string()};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int waitFor(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

}  // namespace kad::test
