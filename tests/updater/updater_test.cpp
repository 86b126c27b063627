#include "updater/updater.h"

#include <gtest/gtest.h>

#include "online/version_list.h"
#include "platform/ini_file.h"
#include "support/kad_harness.h"
#include "support/loopback_http_server.h"

namespace kad::updater {
namespace {

using test::LoopbackHttpServer;
using test::readWholeFile;
namespace fs = std::filesystem;

const std::string kListPath(online::kVersionListPath);

class UpdaterTest : public ::testing::Test {
 protected:
  LoopbackHttpServer server;
  test::TempDir dir;
  test::TempDir work;
  test::ScriptedDialogs dialogs;
  test::ManualLoop loop;
  test::RecordingProcesses processes;
  fs::path programDir = dir.path() / "";

  void SetUp() override {
    brand().writeString("Atualiza", "Servidor", server.baseUrl());
    brand().writeString("Version", "VER_KAD_RQV527E1PU", "1.0");
  }
  platform::IniFile brand() const { return platform::IniFile(programDir / "DORN.ini"); }
  void servePackage(const std::vector<test::ZipMember>& members) {
    test::makeZipWithZipProgram(work.path() / "KADc.zip", members);
    server.serve(kProgramPackagePath, readWholeFile(work.path() / "KADc.zip"));
  }
  TForm1 window() { return TForm1(UpdaterEnvironment{programDir, dialogs, loop, processes}); }
  void expectMainProgramStarted() {
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(processes.started[0].program, programDir / "kad-main");
    EXPECT_TRUE(processes.started[0].arguments.empty());
    EXPECT_EQ(processes.started[0].workingDirectory, programDir);
    EXPECT_TRUE(loop.quitRequested());
  }
};

TEST_F(UpdaterTest, SuccessUnpacksTheProgramWritesTheVersionWithoutCrAndStartsIt) {
  server.serve(kListPath, "KAD_RQV527E1PU\r\n1.1\r\nKAD\r\n\r\n");
  servePackage({{"kad-main", "#!/bin/sh\n", 0755}, {"help/manual.txt", "help"}});
  fs::create_directories(programDir / "help");
  test::writeWholeFile(programDir / "kad-main", "old program");

  TForm1 updater = window();
  EXPECT_EQ(updater.form.root().caption(), "KAD");
  EXPECT_EQ(updater.form["Label1"].caption(), "Atualizando KAD");
  dialogs.expectMessage("O KAD vai baixar a nova versão agora.");
  dialogs.expectMessage("A atualização foi concluída com sucesso!");
  updater.FormActivate();

  EXPECT_EQ(brand().readString("Version", "VER_KAD_RQV527E1PU", ""), "1.1");
  EXPECT_EQ(readWholeFile(programDir / "kad-main"), "#!/bin/sh\n");
  EXPECT_TRUE((fs::status(programDir / "kad-main").permissions() & fs::perms::owner_exec) != fs::perms::none);
  EXPECT_EQ(readWholeFile(programDir / "help/manual.txt"), "help");
  EXPECT_FALSE(fs::exists(programDir / "KADc.zip"));
  EXPECT_EQ(updater.form["ProgressBar1"].position(), 100);
  EXPECT_EQ(updater.form["Label2"].caption(), "100%");
  for (const auto& request : server.requests()) EXPECT_EQ(request.agent, "KADu");
  expectMainProgramStarted();

  // Activated again, it does not run a second time.
  updater.FormActivate();
  EXPECT_EQ(processes.started.size(), 1u);
}

TEST_F(UpdaterTest, EveryFailureReportsStartsTheOldProgramAndKeepsTheVersion) {
  struct Case {
    const char* name;
    std::function<void()> setUp;
    bool serverMessage;  // the "cannot connect" box comes before the failure box
  };
  const std::vector<Case> cases = {
      {"version list missing", [this] { server.fail(kListPath, 404); servePackage({{"kad-main", "x"}}); },
       true},
      {"package answers 500", [this] { server.serve(kListPath, "KAD_RQV527E1PU\n1.1\n"); server.fail(kProgramPackagePath, 500); },
       true},
      {"package cut short",
       [this] {
         server.serve(kListPath, "KAD_RQV527E1PU\n1.1\n");
         server.cutAfter(kProgramPackagePath, std::string(30000, 'p'), 1000);
       },
       true},
      {"package is no zip", [this] { server.serve(kListPath, "KAD_RQV527E1PU\n1.1\n"); server.serve(kProgramPackagePath, "<html/>"); },
       false},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    processes.started.clear();
    testCase.setUp();
    TForm1 updater = window();
    dialogs.expectMessage("O KAD vai baixar");
    if (testCase.serverMessage) dialogs.expectMessage("Não foi possível conectar com o servidor");
    dialogs.expectMessage("A atualização falhou...");
    updater.FormActivate();
    EXPECT_TRUE(dialogs.allAnswered());
    EXPECT_EQ(brand().readString("Version", "VER_KAD_RQV527E1PU", ""), "1.0");
    EXPECT_FALSE(fs::exists(programDir / "KADc.zip"));
    EXPECT_EQ(updater.form["ProgressBar1"].position(), 0);
    EXPECT_EQ(updater.form["Label2"].caption(), "0%");
    expectMainProgramStarted();
  }
}

TEST_F(UpdaterTest, UnreachableServerInEnglish) {
  brand().writeString("Config", "Language", "English");
  brand().writeString("Atualiza", "Servidor", "http://127.0.0.1:1");
  TForm1 updater = window();
  EXPECT_EQ(updater.form["Label1"].caption(), "Updating KAD");
  dialogs.expectMessage("KAD will download the new version now.");
  dialogs.expectMessage("Unable to connect to the server...");
  dialogs.expectMessage("The update failed...");
  updater.FormActivate();
  const auto shown = dialogs.shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].title, "Information");
  EXPECT_EQ(shown[1].title, "Error");
  EXPECT_EQ(shown[2].title, "Error");
  expectMainProgramStarted();
}

TEST_F(UpdaterTest, AListWithoutTheProgramEntryTakesTheSecondLine) {
  server.serve(kListPath, "first\nsecond\r\nthird\n");
  servePackage({{"kad-main", "new"}});
  TForm1 updater = window();
  dialogs.expectMessage("O KAD vai baixar");
  dialogs.expectMessage("sucesso");
  updater.FormActivate();
  EXPECT_EQ(brand().readString("Version", "VER_KAD_RQV527E1PU", ""), "second");
}

}  // namespace
}  // namespace kad::updater
