#include "online/update_check.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/ini_file.h"
#include "support/kad_harness.h"
#include "support/loopback_http_server.h"

namespace kad::online {
namespace {

using test::KadHarness;
using test::LoopbackHttpServer;
using ui::Answer;
namespace fs = std::filesystem;

TEST(ParseEquipmentList, EntriesEndAtTheirDotAndAnUnclosedEntryEndsTheList) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"$0i.0h.", {"i", "h"}},
      {"$0pf.", {"pf"}},
      {"0ia.", {"ia"}},          // no "$0": reading starts at the beginning
      {"junk$0a.0b.", {"a", "b"}},
      {"$0ia.0h", {"ia"}},
      {"$0pf", {}},
      {"", {}},
      {"$0.", {""}},
  };
  for (const auto& [list, expected] : cases) EXPECT_EQ(parseEquipmentList(list), expected) << list;
}

// A main window whose brand file points both servers at a loopback server.
class UpdateCheckTest : public ::testing::Test {
 protected:
  LoopbackHttpServer server;
  KadHarness h;
  test::TempDir work;

  void SetUp() override { writeBrand("Automatico=N?o\n", ""); }

  void writeBrand(const std::string& atualiza, const std::string& rest) {
    h.writeFile("DORN.ini", "[Atualiza]\n" + atualiza + "Servidor=" + server.baseUrl() +
                                "\nServidorPacotes=" + server.baseUrl() + "\n" + rest);
  }
  void publish(const std::map<int, std::string>& online) {
    std::string list;
    for (int row = 0; row < kVersionRowCount; ++row) {
      const auto value = online.find(row);
      list += std::string(kVersionEntries[row].entryName) + "\r\n" + (value == online.end() ? "" : value->second) + "\r\n";
    }
    server.serve(std::string(kVersionListPath), list);
  }
  void serveZip(const std::string& path, const std::string& member, const std::string& content) {
    const auto archive = work.path() / "p.zip";
    fs::remove(archive);
    test::makeZipWithZipProgram(archive, {{member, content}});
    server.serve(path, test::readWholeFile(archive));
  }
  std::string brand(const char* section, const char* key) const {
    return platform::IniFile(h.programDir() / "DORN.ini").readString(section, key, "<none>");
  }
  std::vector<std::string> packageRequests() const {
    std::vector<std::string> paths;
    for (const auto& path : server.requestedPaths()) {
      if (path != kVersionListPath) paths.push_back(path);
    }
    return paths;
  }
  // The texts the window shows: Portuguese, as no language is chosen.
  std::string t(TextId id) const {
    Catalog catalog(CatalogSettings{KAD_SUPPORT_PHONE, KAD_WEB_ADDRESS});
    catalog.fill(UiLanguage::Portuguese, Brand::Dorn);
    return catalog.text(id);
  }
  void expectFlagsAtRest() const {
    EXPECT_TRUE(h.main->updateCheck.askBeforeDownload);
    EXPECT_FALSE(h.main->updateCheck.programCheckArmed);
    EXPECT_TRUE(h.main->updateCheck.reportResult);
  }
};

TEST_F(UpdateCheckTest, NewProgramFromTheMenuAsksAndHandsOverToTheUpdater) {
  publish({{RowProgram, "1.1"}});
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    auto& main = h.start();
    h.dialogs.expectMessage(t(TextId::MsgAskNewProgram), answer);
    h.dialogs.expectMessage(t(TextId::MsgLocalFilesUpdated));  // a menu run that downloaded nothing
    main["Atualiz_Agora"].click();
    if (answer == Answer::Yes) {
      ASSERT_EQ(h.processes.started.size(), 1u);
      EXPECT_EQ(h.processes.started[0].program, h.programDir() / "kad-updater");
      EXPECT_EQ(h.processes.started[0].workingDirectory, h.programDir());
      EXPECT_TRUE(h.loop.quitRequested());
    } else {
      EXPECT_TRUE(h.processes.started.empty());
      EXPECT_FALSE(h.loop.quitRequested());
    }
    expectFlagsAtRest();
  }
}

TEST_F(UpdateCheckTest, CheckAtStartAsksForTheProgramButShowsNoFinalBox) {
  writeBrand("Automatico=Sim\n", "");
  publish({{RowProgram, "1.1"}});
  h.dialogs.expectMessage(t(TextId::MsgAskNewProgram), Answer::Yes);
  h.start();
  EXPECT_EQ(h.dialogs.shown().size(), 1u);
  ASSERT_EQ(h.processes.started.size(), 1u);
  EXPECT_EQ(h.processes.started[0].program, h.programDir() / "kad-updater");
  expectFlagsAtRest();
}

TEST_F(UpdateCheckTest, AModelNeverDownloadedIsNotOffered) {
  writeBrand("Automatico=N?o\n", "[Equipment]\nHARD_TIM=$0ia.\n");
  publish({{RowProgram, "1.0"}, {RowTIM, "5"}});
  auto& main = h.start();
  h.dialogs.expectMessage(t(TextId::MsgNoUpdates));
  main["Atualiz_Agora"].click();
  EXPECT_TRUE(packageRequests().empty());
  EXPECT_EQ(brand("Version", "VER_TIM"), "<none>");
}

TEST_F(UpdateCheckTest, E1RequestedPackageIsFetchedAndItsVersionRecorded) {
  writeBrand("Automatico=N?o\n", "[Version]\nVER_E1=0\n[Equipment]\nHARD_E1=$0pf.\n");
  publish({{RowProgram, "1.0"}, {RowE1, "3"}});
  serveZip("/qe01/Software/RQV527E1/qee1pf.zip", "page0.tag", "qe");
  serveZip("/qe01/Software/RQV527E1/tte1pf.zip", "page0.tag", "tt");
  auto& main = h.start();
  h.dialogs.expectMessage(t(TextId::MsgAskNewSoftwareE1), Answer::Yes);
  h.dialogs.expectMessage(t(TextId::MsgLocalFilesUpdated));
  main["Atualiz_Agora"].click();

  EXPECT_EQ(brand("Version", "VER_E1"), "3");
  const auto log = h.log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], t(TextId::MsgUpdatingFilesE1));
  EXPECT_EQ(log.back(), t(TextId::MsgUpdateFinished));
  EXPECT_EQ(test::readWholeFile(h.programDir() / "RQV527E1/HARD_PF/page0.tag"), "qe");
  EXPECT_EQ(test::readWholeFile(h.programDir() / "RQV527E1/HARD_TT_PF/page0.tag"), "tt");
  EXPECT_EQ(main["ProgressAtual"].position(), 100);
}

TEST_F(UpdateCheckTest, AnEmptyOrUnclosedListFailsTheRunAndStopsTheLaterModels) {
  for (const std::string list : {"", "$0ia"}) {
    SCOPED_TRACE(list);
    writeBrand("Automatico=N?o\n", "[Version]\nVER_TIM=4\nVER_DSL2=1\n[Equipment]\nHARD_TIM=" + list +
                                       "\nHARD_DSL2=$0d.\n");
    publish({{RowProgram, "1.0"}, {RowTIM, "5"}, {RowDSL2, "2"}});
    auto& main = h.start();
    h.dialogs.expectMessage(t(TextId::MsgAskNewSoftwareTIM), Answer::Yes);
    h.dialogs.expectMessage(t(TextId::MsgUpdateFailedInternet));
    main["Atualiz_Agora"].click();
    EXPECT_TRUE(packageRequests().empty());
    EXPECT_EQ(brand("Version", "VER_TIM"), "4");
    EXPECT_EQ(h.log().back(), t(TextId::MsgUpdateFailed));
  }
}

TEST_F(UpdateCheckTest, AFailedDownloadKeepsTheOldVersionAndSkipsTheRest) {
  writeBrand("Automatico=N?o\n", "[Version]\nVER_TIM=4\nVER_DSL2=1\n[Equipment]\nHARD_TIM=$0ia.0h.\nHARD_DSL2=$0d.\n");
  publish({{RowProgram, "1.0"}, {RowTIM, "5"}, {RowDSL2, "2"}});
  server.fail("/qe01/Software/RQV638TIM/qeti6ia.zip", 404);
  auto& main = h.start();
  h.dialogs.expectMessage(t(TextId::MsgAskNewSoftwareTIM), Answer::Yes);
  h.dialogs.expectMessage(t(TextId::MsgServerConnectError));
  h.dialogs.expectMessage(t(TextId::MsgUpdateFailedInternet));
  main["Atualiz_Agora"].click();
  EXPECT_EQ(packageRequests(), std::vector<std::string>{"/qe01/Software/RQV638TIM/qeti6ia.zip"});
  EXPECT_EQ(brand("Version", "VER_TIM"), "4");
  EXPECT_FALSE(fs::exists(h.programDir() / "RQV638TIM"));
}

TEST_F(UpdateCheckTest, WithoutAskingNoQuestionIsShownAndTheProgramIsNotCompared) {
  writeBrand("Automatico=N?o\n", "[Version]\nVER_CATV=1\n[Equipment]\nHARD_CATV=$0a.\n");
  publish({{RowProgram, "2.0"}, {RowCATV, "2"}});
  server.serve("/qe01/Software/RQV851CATV/HARD_A/programa_principal.bin", "image");
  auto& main = h.start();
  main.updateCheck.askBeforeDownload = false;
  h.dialogs.expectMessage(t(TextId::MsgLocalFilesUpdated));
  main.funcaoAtualizaSoftware();
  EXPECT_TRUE(h.processes.started.empty());
  EXPECT_EQ(brand("Version", "VER_CATV"), "2");
  EXPECT_EQ(test::readWholeFile(h.programDir() / "RQV851CATV/HARD_A/programa_principal.bin"), "image");
  expectFlagsAtRest();
}

TEST_F(UpdateCheckTest, AnUnreadableListLeavesTheTableAsItWas) {
  server.fail(std::string(kVersionListPath), 500);
  auto& main = h.start();
  main.versions.online[RowE1] = "kept";
  h.dialogs.expectMessage(t(TextId::MsgServerConnectError));
  h.dialogs.expectMessage(t(TextId::MsgNoUpdates));
  main["Atualiz_Agora"].click();
  EXPECT_EQ(main.versions.online[RowE1], "kept");
}

}  // namespace
}  // namespace kad::online
