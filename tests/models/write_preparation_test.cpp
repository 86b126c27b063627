#include <gtest/gtest.h>

#include <fstream>

#include "online/version_list.h"
#include "shell/config_keys.h"
#include "support/kad_harness.h"
#include "support/loopback_http_server.h"

namespace kad {
namespace {

namespace fs = std::filesystem;
using enum EquipmentModel;
using test::KadHarness;
using ui::Answer;

void touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "k\n";
}

// A unit identified and connected, ready for "Gravar páginas". The upload thread is not
// started: the probe records that the preparation got through.
struct PreparedUnit {
  explicit PreparedUnit(const char* profile = "Cliente") : h(profile) {
    h.writeFile("KAD.ini", "");
    m = &h.startIdle("English");
    m->writePreparation.startUpload = [this] { ++uploadsStarted; };
    for (const char* ramProgram : {"user.tag", "flash_r2.tag", "bootgra.tag", "gravafla.tag"}) {
      touch(h.programDir() / ramProgram);
    }
  }

  void connect(EquipmentModel model, const std::string& hardwareType) {
    m->selectModel(model);
    (*m)["EditTipoHard"].setText(hardwareType);
    m->unitIdentity.checkWords = {0x1234, 0x1234};
    m->connection.connectionClosed = false;  // as the connect button leaves it
    (*m)["ButPaginas"].setEnabled(true);  // as the connection leaves it
    (*m)["ButEspecial"].setEnabled(true);
  }
  void writePageSet(const fs::path& folder, const std::vector<std::string>& files) const {
    for (const auto& file : files) touch(folder / file);
  }
  fs::path folder(const std::string& relative) const { return h.programDir() / relative; }
  std::string brand(const char* section, const char* key) const { return m->brandIni().readString(section, key, "?"); }
  void click() { (*m)["ButPaginas"].click(); }
  bool reset() const { return m->connection.connectionClosed; }
  bool logged(const std::string& line) const {
    const auto log = h.log();
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  KadHarness h;
  TKadMain* m = nullptr;
  int uploadsStarted = 0;
};

std::vector<std::string> e1NewHardwareSet() { return fullPageSetFiles(E1, "nc"); }

TEST(WritePreparation, NewE1UnitStartsItsPackageBookkeepingAndAsksForTheFilesUnlessACopyIsRecorded) {
  struct Case {
    const char* name;
    bool recordCopy;
    bool copyHoldsPageZero;
    bool asked;
  };
  for (const Case& c : {Case{"no copy", false, false, true}, Case{"usable copy", true, true, false},
                        Case{"copy without page0", true, false, true}}) {
    SCOPED_TRACE(c.name);
    PreparedUnit u;
    u.writePageSet(u.folder("RQV527E1/HARD_PF/"), e1NewHardwareSet());
    if (c.recordCopy) {
      const auto copy = u.folder("copy/");
      fs::create_directories(copy);
      if (c.copyHoldsPageZero) touch(copy / "page0.tag");
      u.m->programIni().writeString("Diretorio", "HARD_E1", copy.string());
    }
    u.connect(E1, "NC");  // the type is taken in lower case
    if (c.asked) u.h.dialogs.expectMessage("It is necessary to update the files", Answer::No);
    u.click();
    EXPECT_EQ(u.brand("Version", "VER_E1"), "0");
    EXPECT_EQ(u.brand("Equipment", "HARD_E1"), "$0pf.");
    EXPECT_EQ(u.m->pageSet.pageSetDir, u.folder("RQV527E1/HARD_PF/"));
    EXPECT_EQ(u.uploadsStarted, 1);
    EXPECT_FALSE(u.reset());
    EXPECT_TRUE(u.h.dialogs.allAnswered());
    // Step 1 locked the controls that must not change under the upload.
    for (const char* control : {"ButPaginas", "ButEspecial", "EditNomeCliente", "EditTipoHard", "StringGrid"}) {
      EXPECT_FALSE((*u.m)[control].enabled()) << control;
    }
  }
}

TEST(WritePreparation, FamilyCode202UnitsUseTheirOwnFolder) {
  PreparedUnit u;
  u.writePageSet(u.folder("RQV527E1/HARD_TT_PF/"), e1NewHardwareSet());
  u.m->brandIni().writeString("Version", "VER_E1", "2");
  u.m->brandIni().writeString("Equipment", "HARD_E1", "$0pf.");
  u.connect(E1, "nc");
  u.m->unitIdentity.FamilyCode202 = true;
  u.click();
  EXPECT_EQ(u.m->pageSet.pageSetDir, u.folder("RQV527E1/HARD_TT_PF/"));
  EXPECT_EQ(u.uploadsStarted, 1);
}

TEST(WritePreparation, HardwareTheModelDoesNotServeIsRefusedWithTheSupportContacts) {
  struct Case {
    EquipmentModel model;
    const char* type;
  };
  for (const Case& c : {Case{DSL2, "c"}, Case{TIM, "b"}, Case{TP, "c"}}) {
    PreparedUnit u;
    u.connect(c.model, c.type);
    u.h.dialogs.expectMessage("It was not possible to obtain the hardware version");
    u.click();
    ASSERT_TRUE(u.h.dialogs.allAnswered()) << c.type;
    const auto shown = u.h.dialogs.shown().back();
    EXPECT_NE(shown.text.find("\n\nPlease contact our Technical Support"), std::string::npos);
    EXPECT_TRUE(u.reset());
    EXPECT_EQ(u.uploadsStarted, 0);
  }
}

TEST(WritePreparation, ATypeThatOccursInTheListLeavesItUnchanged) {
  PreparedUnit u;
  u.m->brandIni().writeString("Version", "VER_TIM", "7");
  u.m->brandIni().writeString("Equipment", "HARD_TIM", "$0ia.");
  u.writePageSet(u.folder("RQV638TIM/HARD_I/"), fullPageSetFiles(TIM, "i"));
  u.connect(TIM, "i");
  u.click();
  EXPECT_EQ(u.brand("Equipment", "HARD_TIM"), "$0ia.");
  EXPECT_EQ(u.brand("Version", "VER_TIM"), "7");
  EXPECT_EQ(u.m->pageSet.pageSetDir, u.folder("RQV638TIM/HARD_I/"));
  EXPECT_TRUE(u.logged("gravafla.tag OK!"));
  EXPECT_EQ(u.uploadsStarted, 1);
}

TEST(WritePreparation, DifferingCheckWordsStopACustomerWriteButNotTheEngineers) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    bool refused;
  };
  for (const Case& c : {Case{"Cliente", E1, true}, Case{"RG", T1, true}, Case{"NEB", DSL2, true},
                        Case{"Engenharia", E1, false}}) {
    SCOPED_TRACE(c.profile);
    PreparedUnit u(c.profile);
    const auto pageSet = u.folder("bench/");
    u.writePageSet(pageSet, e1NewHardwareSet());
    u.m->programIni().writeString("Bancada", "Diretorio", pageSet.string());
    (*u.m)["ComboDir"].addItem("Bancada");
    (*u.m)["ComboDir"].setItemIndex(0);
    u.connect(c.model, "nc");
    u.m->unitIdentity.checkWords = {1, 2};
    if (c.refused) u.h.dialogs.expectMessage("The unit cannot be upgraded at the moment!");
    u.click();
    EXPECT_EQ(u.reset(), c.refused);
    EXPECT_EQ(u.uploadsStarted, c.refused ? 0 : 1);
    if (!c.refused) {
      EXPECT_EQ(u.m->pageSet.pageSetDir, pageSet);
    }
  }
}

TEST(WritePreparation, EngineeringWithoutADirectoryEntryStopsWithoutReset) {
  PreparedUnit u("Engenharia");
  (*u.m)["ComboDir"].clearItems();
  u.connect(E1, "nc");
  u.h.dialogs.expectMessage("You must select a folder!");
  u.click();
  EXPECT_FALSE(u.reset());
  EXPECT_TRUE((*u.m)["ButAdicionar"].focused());
  EXPECT_EQ(u.uploadsStarted, 0);
}

// The new-version offer fetches every hardware type of the list, in list order, from the
// package server; the version moves on only when every package came.
TEST(WritePreparation, NewVersionOfferDownloadsEveryListedTypeInOrder) {
  struct Case {
    const char* name;
    const char* failing;  // hardware type whose package the server refuses, or null
    std::vector<std::string> requested;
    const char* version;
  };
  const Case cases[] = {
      {"all arrive", nullptr, {"i", "h", "g"}, "4"},
      {"second refused", "h", {"i", "h"}, "3"},
  };
  test::TempDir zips;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::LoopbackHttpServer server;
    for (const char* type : {"i", "h", "g"}) {
      const std::string path = std::string("/qe01/Software/RQV638TIM/qeti6") + type + ".zip";
      if (c.failing && std::string(type) == c.failing) {
        server.fail(path, 404);
        continue;
      }
      const auto archive = zips.path() / (std::string(type) + ".zip");
      test::makeZipWithZipProgram(archive, {{"page0.tag", std::string("from ") + type}});
      server.serve(path, test::readWholeFile(archive));
    }

    PreparedUnit u;
    auto& brand = u.m->brandIni();
    brand.writeString("Atualiza", "Automatico", "Sim");
    brand.writeString("Atualiza", "ServidorPacotes", server.baseUrl());
    brand.writeString("Version", "VER_TIM", "3");
    brand.writeString("Equipment", "HARD_TIM", "$0i.0h.0g.");
    u.m->versions.online[online::RowTIM] = "4";
    u.writePageSet(u.folder("RQV638TIM/HARD_I/"), fullPageSetFiles(TIM, "i"));
    u.connect(TIM, "i");
    u.h.dialogs.expectMessage("There is a new version for RQV638TIM", Answer::Yes);
    if (c.failing) {
      u.h.dialogs.expectMessage("Unable to connect to the update server");
      u.h.dialogs.expectMessage("The update process failed!");
    } else {
      u.h.dialogs.expectMessage("The local files were successfully updated!");
    }
    u.click();

    std::vector<std::string> requested;
    for (const auto& type : c.requested) requested.push_back("/qe01/Software/RQV638TIM/qeti6" + type + ".zip");
    EXPECT_EQ(server.requestedPaths(), requested);
    EXPECT_EQ(u.brand("Version", "VER_TIM"), c.version);
    EXPECT_TRUE(u.logged(c.failing ? "The update failed!" : "The update process finished!"));
    // The old package stays in use: the run goes on either way.
    EXPECT_EQ(u.uploadsStarted, 1);
    EXPECT_EQ(test::readWholeFile(u.folder("RQV638TIM/HARD_I/page0.tag")), "from i");
  }
}

TEST(WritePreparation, AMissingPageStopsAfterTheEarlierPagesWereLogged) {
  PreparedUnit u;
  auto files = e1NewHardwareSet();
  files.erase(std::find(files.begin(), files.end(), "page12.tag"));
  u.writePageSet(u.folder("RQV527E1/HARD_PF/"), files);
  u.m->brandIni().writeString("Version", "VER_E1", "1");
  u.m->brandIni().writeString("Equipment", "HARD_E1", "$0pf.");
  u.connect(E1, "nc");
  u.h.dialogs.expectMessage("The file page12.tag was not found! Operation aborted...");
  u.click();

  const auto log = u.h.log();
  const auto checking = std::find(log.begin(), log.end(), "Checking pages...");
  ASSERT_NE(checking, log.end());
  EXPECT_EQ(*(checking - 1), "user.tag OK!");
  std::vector<std::string> expected;
  for (int page = 0; page <= 11; ++page) expected.push_back("page" + std::to_string(page) + ".tag OK!");
  ASSERT_GE(log.end() - checking, 13);
  EXPECT_EQ(std::vector<std::string>(checking + 1, checking + 13), expected);
  const std::string message = *(checking + 13);
  EXPECT_EQ(message.rfind("The file page12.tag was not found! Operation aborted...\nCheck if the folder ", 0), 0u);
  EXPECT_NE(message.find("RQV527E1/HARD_PF/ have the proper page files for the selected unit."), std::string::npos);
  EXPECT_TRUE(u.reset());
  EXPECT_EQ(u.uploadsStarted, 0);
}

TEST(WritePreparation, MissingRamProgramStopsBeforeThePages) {
  PreparedUnit u;
  fs::remove(u.h.programDir() / "user.tag");
  u.writePageSet(u.folder("RQV527E1/HARD_PF/"), e1NewHardwareSet());
  u.m->brandIni().writeString("Version", "VER_E1", "1");
  u.m->brandIni().writeString("Equipment", "HARD_E1", "$0pf.");
  u.connect(E1, "nc");
  u.h.dialogs.expectMessage("The file user.tag was not found!");
  u.click();
  EXPECT_FALSE(u.logged("Checking pages..."));
  const auto log = u.h.log();
  const auto missing = std::find_if(log.begin(), log.end(), [](const std::string& line) {
    return line.rfind("The file user.tag was not found!", 0) == 0;
  });
  ASSERT_NE(missing, log.end());
  EXPECT_NE(missing->find("\nCheck if the folder " + u.h.programDir().string() + " have the mentioned file."),
            std::string::npos);
  EXPECT_TRUE(u.reset());
  EXPECT_EQ(u.uploadsStarted, 0);
}

TEST(WritePreparation, OldE1HardwareNeedsAllFourModuleSlots) {
  struct Case {
    const char* type;
    int modules;
    bool allPages;
    bool stops;
  };
  for (const Case& c : {Case{"k", 3, true, true}, Case{"k", 4, true, false}, Case{"k", 3, false, false},
                        Case{"nc", 3, true, false}, Case{"nc", 0, true, false}}) {
    SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.modules));
    PreparedUnit u;
    u.writePageSet(u.folder("RQV527E1/HARD_PF/"), fullPageSetFiles(E1, c.type));
    u.m->brandIni().writeString("Version", "VER_E1", "1");
    u.m->brandIni().writeString("Equipment", "HARD_E1", "$0pf.");
    u.connect(E1, c.type);
    for (int i = 0; i < c.modules; ++i) u.m->moduleFlags[i] = true;
    (*u.m)["chkAllPages"].setChecked(c.allPages);
    if (!c.allPages) {
      (*u.m)["chkPageX"].setChecked(true);
      (*u.m)["EditPag"].setText("3");
    }
    if (c.stops) u.h.dialogs.expectMessage((u.m->text(TextId::MsgModuleNotInstalled)));
    u.click();
    EXPECT_TRUE(u.h.dialogs.allAnswered());
    EXPECT_FALSE(u.reset());
    EXPECT_EQ(u.uploadsStarted, c.stops ? 0 : 1);
    if (c.stops) {
      EXPECT_TRUE((*u.m)["StringGrid"].focused());
    }
  }
}

TEST(WritePreparation, SinglePageModeChecksOnlyThatPage) {
  struct Case {
    const char* page;
    bool present;
  };
  for (const Case& c : {Case{"7", true}, Case{"9", false}, Case{"x", false}}) {
    PreparedUnit u;
    u.writePageSet(u.folder("RQV749DSL2+/HARD_I/"), {"page7.tag"});
    u.m->brandIni().writeString("Version", "VER_DSL2", "1");
    u.m->brandIni().writeString("Equipment", "HARD_DSL2", "$0i.");
    u.connect(DSL2, "i");
    (*u.m)["chkPageX"].setChecked(true);
    (*u.m)["EditPag"].setText(c.page);
    if (!c.present) u.h.dialogs.expectMessage(std::string("The file page") + c.page + ".tag was not found!");
    u.click();
    EXPECT_EQ(u.uploadsStarted, c.present ? 1 : 0) << c.page;
    EXPECT_EQ(u.logged(std::string("page") + c.page + ".tag OK!"), c.present);
  }
}

// When the page set lacks its proof file: the recorded copy, a folder the operator picks,
// or a download.
TEST(WritePreparation, LocalCopyDialogue) {
  struct Case {
    const char* name;
    bool search;
    std::optional<std::string> chosen;  // relative to the program directory
    bool download;
    bool started;
    bool reset;
  };
  const Case cases[] = {
      {"picked folder holds the set", true, "picked/", false, true, false},
      {"browser closed", true, std::nullopt, false, false, false},
      {"picked folder empty, download declined", true, "empty/", false, false, true},
      {"no search, download declined", false, std::nullopt, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PreparedUnit u;
    u.writePageSet(u.folder("picked/"), e1NewHardwareSet());
    fs::create_directories(u.folder("empty/"));
    fs::create_directories(u.folder("RQV527E1/HARD_PF/"));
    u.m->brandIni().writeString("Version", "VER_E1", "1");
    u.m->brandIni().writeString("Equipment", "HARD_E1", "$0pf.");
    u.connect(E1, "nc");
    (*u.m)["ButIniciar"].setEnabled(true);
    u.h.dialogs.expectMessage("The files were not found.\nDo you want to manually search", c.search ? Answer::Yes : Answer::No);
    const bool browsed = c.search;
    if (browsed) u.h.dialogs.expectFolder(c.chosen ? std::optional(u.folder(*c.chosen).string()) : std::nullopt);
    const bool pickedUsable = c.chosen && std::string(*c.chosen) == "picked/";
    if (c.chosen && !pickedUsable) u.h.dialogs.expectMessage("Invalid file!");
    const bool asksDownload = !pickedUsable && !(browsed && !c.chosen);
    if (asksDownload) {
      u.h.dialogs.expectMessage("The files were not found.\nDo you wish to download", c.download ? Answer::Yes : Answer::No);
      u.h.dialogs.expectMessage("The update process can not");
    }
    u.click();
    EXPECT_TRUE(u.h.dialogs.allAnswered());
    EXPECT_EQ(u.uploadsStarted, c.started ? 1 : 0);
    EXPECT_EQ(u.reset(), c.reset);
    if (pickedUsable) {
      EXPECT_EQ(u.m->programIni().readString("Diretorio", "HARD_E1", ""), u.folder("picked/").string());
      EXPECT_EQ(u.m->pageSet.pageSetDir, u.folder("picked/"));
    }
    if (browsed && !c.chosen) {
      EXPECT_FALSE((*u.m)["ButIniciar"].enabled());
      EXPECT_TRUE((*u.m)["ButCancelar"].enabled());
    }
  }
}

TEST(WritePreparation, TpPackagesMissingAndEverythingDeclinedEndsTheConnection) {
  PreparedUnit u;
  u.m->brandIni().writeString("Version", "VER_TP", "1");
  u.m->brandIni().writeString("Equipment", "HARD_TP", "$0b.0a.");
  fs::create_directories(u.folder("RQV183TP/"));
  u.connect(TP, "a");
  u.m->tpPackages.unitProtocolVersion = 4;
  u.h.dialogs.expectMessage("The files were not found.\nDo you want to manually search", Answer::No);
  u.h.dialogs.expectMessage("The files were not found.\nDo you wish to download", Answer::No);
  u.h.dialogs.expectMessage("The update process can not");
  u.click();
  EXPECT_TRUE(u.reset());
  EXPECT_EQ(u.uploadsStarted, 0);
  // The module reading that follows leaves the grid idle.
  EXPECT_TRUE(u.m->moduleGrid.takeSkipNextTpListing());
}

TEST(WritePreparation, TpPackagesPresentStartAtOnce) {
  PreparedUnit u;
  u.m->brandIni().writeString("Version", "VER_TP", "1");
  u.m->brandIni().writeString("Equipment", "HARD_TP", "$0b.");
  touch(u.folder("RQV183TP/app_main.package"));
  std::ofstream(u.folder("RQV183TP/packages.repository")) << "1,app_main\n";
  u.connect(TP, "b");
  u.m->tpPackages.unitProtocolVersion = 3;
  u.click();
  EXPECT_EQ(u.brand("Equipment", "HARD_TP"), "$0b.0a.");
  EXPECT_EQ(u.m->tpPackages.packages, std::vector<std::string>{"app_main"});
  EXPECT_EQ(u.uploadsStarted, 1);
  EXPECT_FALSE(u.reset());
}

}  // namespace
}  // namespace kad
