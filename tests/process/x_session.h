#pragma once
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kad::test {

// A private X server (Xvfb) for the test's windows, operated with xdotool as a person would.
class XSession {
 public:
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool ok() const { return display_ >= 0; }
  std::string display() const { return ":" + std::to_string(display_); }

  // Windows whose title matches the regular expression (xdotool's search).
  std::vector<std::string> windows(const std::string& titlePattern) const;
  // Focuses the first window whose title matches and types the keys ("Return", "F5").
  bool pressKeys(const std::string& titlePattern, const std::string& keys) const;
  // Saves a picture of the whole screen as a PNG file; false when it could not be taken.
  bool screenshot(const std::filesystem::path& png) const;

 private:
  std::string run(const std::string& command) const;
  pid_t server_ = -1;
  int display_ = -1;
};

// Starts a program with extra environment variables and its output in a file.
pid_t startProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment, const std::filesystem::path& output);
// Waits for the process to end; the exit status, or -1 when it was still running at the deadline.
int waitFor(pid_t pid, std::chrono::milliseconds limit);

}  // namespace kad::test
