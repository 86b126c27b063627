// kad-updater run as a person meets it: its window in an X server, its boxes answered with
// the keyboard, the program package fetched from a real HTTP server on loopback.
#include <gtest/gtest.h>

#include <thread>

#include "platform/ini_file.h"
#include "process/x_session.h"
#include "support/loopback_http_server.h"
#include "support/temp_dir.h"

namespace kad::test {
namespace {

const std::filesystem::path kBin = KAD_TEST_BIN_DIR;

struct UpdaterRun {
  int exitStatus = -1;
  std::vector<std::string> boxesAnswered;
};

// Runs the updater from a program directory of its own, answering each box it shows.
UpdaterRun runUpdater(const XSession& x, const std::filesystem::path& programDir) {
  std::filesystem::copy_file(kBin / "kad-updater", programDir / "kad-updater");
  const pid_t pid = startProgram(programDir / "kad-updater", {}, {{"DISPLAY", x.display()}, {"QT_QPA_PLATFORM", "xcb"}},
                                 programDir / "updater-output.txt");
  UpdaterRun run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    run.exitStatus = waitFor(pid, std::chrono::milliseconds(200));
    if (run.exitStatus != -1) return run;
    for (const char* title : {"^Information$", "^Informação$", "^Error$", "^Erro$"}) {
      if (x.pressKeys(title, "Return")) run.boxesAnswered.push_back(title);
    }
  }
  ::kill(pid, SIGKILL);
  waitFor(pid, std::chrono::seconds(5));
  return run;
}

bool waitForFile(const std::filesystem::path& file) {
  for (int i = 0; i < 50 && !std::filesystem::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return std::filesystem::exists(file);
}

TEST(UpdaterProcess, ReplacesTheMainProgramRecordsTheVersionAndStartsIt) {
  XSession x;
  if (!x.ok()) GTEST_SKIP() << "no Xvfb on this machine";
  TempDir dir;
  const auto program = dir.path() / "program";
  std::filesystem::create_directories(program);
  LoopbackHttpServer server;
  // A CR LF list: the version recorded must not keep the CR.
  server.serve("/qe01/Software/KAD/versions.txt", "KAD_RQV527E1PU\r\n1.1\r\nVER_E1\r\n3\r\n");
  const auto zip = dir.path() / "KAD_RQV527E1PUc.zip";
  makeZipWithZipProgram(zip, {{"kad-main", "#!/bin/sh\necho started > \"$(dirname \"$0\")/started.txt\"\n", 0755}});
  server.serveFile("/qe01/Software/KAD/KAD_RQV527E1PUc.zip", zip);
  writeWholeFile(program / "DORN.ini", "[Atualiza]\nServidor=" + server.baseUrl() + "\n[Config]\nLanguage=English\n");

  const auto run = runUpdater(x, program);
  EXPECT_EQ(run.exitStatus, 0) << readWholeFile(program / "updater-output.txt");
  ASSERT_TRUE(waitForFile(program / "started.txt")) << "the new kad-main was not started";
  EXPECT_EQ(platform::IniFile(program / "DORN.ini").readString("Version", "VER_KAD_RQV527E1PU", ""), "1.1");
  EXPECT_FALSE(std::filesystem::exists(program / "KADc.zip"));
  EXPECT_EQ(run.boxesAnswered, (std::vector<std::string>{"^Information$", "^Information$"}));
}

TEST(UpdaterProcess, AFailedDownloadStillStartsTheOldProgramAndKeepsTheVersion) {
  XSession x;
  if (!x.ok()) GTEST_SKIP() << "no Xvfb on this machine";
  TempDir dir;
  const auto program = dir.path() / "program";
  std::filesystem::create_directories(program);
  LoopbackHttpServer server;  // serves nothing: every path answers 404
  writeWholeFile(program / "kad-main", "#!/bin/sh\necho old > \"$(dirname \"$0\")/started.txt\"\n");
  std::filesystem::permissions(program / "kad-main", std::filesystem::perms::owner_all);
  writeWholeFile(program / "DORN.ini",
                 "[Atualiza]\nServidor=" + server.baseUrl() + "\n[Version]\nVER_KAD_RQV527E1PU=1.0\n");

  const auto run = runUpdater(x, program);
  EXPECT_EQ(run.exitStatus, 0);
  ASSERT_TRUE(waitForFile(program / "started.txt"));
  EXPECT_EQ(readWholeFile(program / "started.txt"), "old\n");
  EXPECT_EQ(platform::IniFile(program / "DORN.ini").readString("Version", "VER_KAD_RQV527E1PU", ""), "1.0");
  // Portuguese (no language stored): the announcement, the server error, the failure.
  EXPECT_EQ(run.boxesAnswered, (std::vector<std::string>{"^Informação$", "^Erro$", "^Erro$"}));
}

}  // namespace
}  // namespace kad::test
