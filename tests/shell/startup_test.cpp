#include <gtest/gtest.h>

#include "shell/config_keys.h"
#include "support/kad_harness.h"

namespace kad {
namespace {

using test::KadHarness;

TEST(StartUp, FirstStartAsksInPortugueseAndRecordsTheAnswerAndVersion) {
  KadHarness h;
  h.dialogs.expectMessage("Deseja habilitar a verificação automática", ui::Answer::No);
  auto& main = h.start();
  EXPECT_EQ(main.language(), UiLanguage::Portuguese);
  const std::string dorn = h.readFile("DORN.ini");
  platform::IniFile ini(h.programDir() / "DORN.ini");
  EXPECT_EQ(ini.readString("Atualiza", "Automatico", "?"), "N?o");
  EXPECT_EQ(ini.readString("Version", "VER_KAD_RQV527E1PU", ""), "1.0");
  EXPECT_FALSE(main["Atualiz_sempre"].checked());

  // The next start asks nothing and runs no check.
  KadHarness again;
  again.writeFile("DORN.ini", dorn);
  bool checked = false;
  again.create().startupUpdateCheck = [&] { checked = true; };
  again.main->FormCreate();
  EXPECT_FALSE(checked);
  EXPECT_TRUE(again.dialogs.shown().empty());
}

TEST(StartUp, YesOnTheFirstStartOrStoredSimRunsTheCheckAtStart) {
  struct Case {
    const char* dorn;
    bool ask;
  };
  for (const Case& c : {Case{"", true}, Case{"[Atualiza]\nAutomatico=Sim\n", false}}) {
    KadHarness h;
    h.writeFile("DORN.ini", c.dorn);
    if (c.ask) h.dialogs.expectMessage("verificação automática", ui::Answer::Yes);
    bool checked = false;
    auto& main = h.create();
    main.startupUpdateCheck = [&] {
      checked = true;
      // The check runs after the window's own set-up, with the window shown.
      EXPECT_TRUE(main.form.root().visible());
    };
    main.FormCreate();
    EXPECT_TRUE(checked) << c.dorn;
    EXPECT_TRUE(main["Atualiz_sempre"].checked());
    EXPECT_EQ(platform::IniFile(h.programDir() / "DORN.ini").readString("Atualiza", "Automatico", ""), "Sim");
  }
}

TEST(StartUp, LanguageTextOnlyEnglishExactlySelectsEnglish) {
  struct Case {
    const char* stored;
    UiLanguage expected;
    const char* secondLine;
  };
  for (const Case& c : {Case{"English", UiLanguage::English, "Communication Mode: USB"},
                        Case{"english", UiLanguage::Portuguese, "Modo de comunicação: USB"},
                        Case{"Portuguese", UiLanguage::Portuguese, "Modo de comunicação: USB"},
                        Case{"", UiLanguage::Portuguese, "Modo de comunicação: USB"}}) {
    KadHarness h;
    // "KAD.ini" says Serial, but the USB selection is recorded before the line is written.
    h.writeFile("KAD.ini", "[Config]\nMode=Serial\nUnit=RQV749DSL2+\n");
    h.writeFile("DORN.ini", std::string("[Config]\nLanguage=") + c.stored + "\n[Atualiza]\nAutomatico=N?o\n");
    auto& main = h.start();
    EXPECT_EQ(main.language(), c.expected) << c.stored;
    ASSERT_EQ(h.log().size(), 2u);
    EXPECT_EQ(h.log()[1], c.secondLine);
    // Start-up selects E1, which records its name before the first line reads it.
    EXPECT_EQ(h.log()[0], (c.expected == UiLanguage::English ? "Unit: " : "Equipamento: ") + std::string("RQV527E1"));
    EXPECT_EQ(main.form.root().caption(), main.text(TextId::CapMainTitle) + "1.0");
    EXPECT_EQ(main.form.root().caption(), "KAD - Dorn Uploader - RQV527PU v1.0");
  }
}

TEST(StartUp, ProfilesAndBrands) {
  struct Case {
    const char* name;
    ProfileKind kind;
  };
  for (const Case& c : {Case{"Cliente", ProfileClient}, Case{"RG", ProfileRG}, Case{"NEB", ProfileNeb},
                        Case{"Engenharia", ProfileEngineering}, Case{"TesteProducao", ProfileEngineering},
                        Case{"cliente", ProfileClient}, Case{"engenharia", ProfileClient}, Case{"", ProfileClient}}) {
    EXPECT_EQ(profileFromName(c.name), c.kind) << c.name;
  }

  KadHarness neb("NEB");
  neb.writeFile("NEB.ini", "[Config]\nLanguage=Portuguese\n[Atualiza]\nAutomatico=N?o\n");
  auto& n = neb.start();
  EXPECT_EQ(n.language(), UiLanguage::English);  // the NEB brand always speaks English
  EXPECT_EQ(n.applicationTitle, "NEB Uploader");
  EXPECT_EQ(n.applicationIcon, (neb.programDir() / "neb.ico").string());
  EXPECT_EQ(n.form.root().caption(), "NEB-UP - NEB Uploader - RQV527PU v1.0");
  EXPECT_FALSE(n["Lingua1"].visible());
  EXPECT_FALSE(n["RadioE1"].visible());
  for (const char* radio : {"RadioCATV", "RadioOPM", "RadioMEGOMETRO", "RadioFirmCpu206"}) {
    EXPECT_EQ(n[radio].bounds().top, 0) << radio;
  }
  EXPECT_TRUE(n["NebLogo"].visible());
  EXPECT_FALSE(n["DornLogo"].visible());
  EXPECT_FALSE(std::filesystem::exists(neb.programDir() / "DORN.ini"));

  KadHarness dorn("Cliente");
  dorn.writeFile("DORN.ini", "[Atualiza]\nAutomatico=N?o\n");
  auto& d = dorn.start();
  EXPECT_EQ(d.applicationTitle, "Uploader DORN");
  EXPECT_TRUE(d["RadioT1"].visible());
  EXPECT_FALSE(d["RadioT1"].enabled());
  EXPECT_TRUE(d["DornLogo"].visible());
}

TEST(StartUp, ArrangementPerProfile) {
  struct Case {
    const char* profile;
    bool optionsShown, comboShown, fieldsEnabled, eraseShown;
    int statusTop, lblAtualLeftShift;
  };
  KadHarness reference("Engenharia");
  auto& engineering = reference.start();
  const auto formStatus = engineering["GroupStatus"].bounds();
  const int formLblAtualLeft = engineering["lblAtual"].bounds().left;
  for (const Case& c : {Case{"Cliente", false, false, false, false, formStatus.top - 50, -2},
                        Case{"NEB", false, false, false, false, formStatus.top - 50, -2},
                        Case{"RG", false, false, false, false, formStatus.top, +2},
                        Case{"Engenharia", false, true, true, true, formStatus.top, 0}}) {
    KadHarness h(c.profile);
    h.writeFile("DORN.ini", "[Atualiza]\nAutomatico=N?o\n");
    h.writeFile("NEB.ini", "[Atualiza]\nAutomatico=N?o\n");
    auto& m = h.start();
    SCOPED_TRACE(c.profile);
    EXPECT_EQ(m["ComboDir"].visible(), c.comboShown);
    EXPECT_EQ(m["EditNomeCliente"].enabled(), c.fieldsEnabled);
    EXPECT_EQ(m["ButApagaCampos"].visible(), c.eraseShown);
    EXPECT_EQ(m["GroupStatus"].bounds().top, c.statusTop);
    EXPECT_EQ(m["lblAtual"].bounds().left, formLblAtualLeft + c.lblAtualLeftShift);
    EXPECT_FALSE(m["GroupEquip"].visible());
    EXPECT_FALSE(m["ButPaginas"].visible());
    EXPECT_EQ(m["Configura"].visible(), std::string(c.profile) != "Engenharia");
    if (std::string(c.profile) != "Engenharia") {
      EXPECT_TRUE(m["chkAllPages"].checked());
      EXPECT_EQ(m["ProgressTotal"].bounds().top, 55);
    }
    EXPECT_TRUE(m["RadioUSB"].checked());
    EXPECT_EQ(m.linkMode.load(), LinkMode::USB);
    EXPECT_EQ(m.currentModel.load(), EquipmentModel::E1);
    EXPECT_EQ(m["lblPorcAtual"].caption(), "0%");
    EXPECT_EQ(m["ProgressAtual"].max(), 1);
  }
}

TEST(StartUp, EngineeringListsTheProgramFileSectionsButConfig) {
  KadHarness h("Engenharia");
  h.writeFile("KAD.ini", "[Bancada]\nDiretorio=/a\n[Config]\nDiretorio=1\n[Linha]\nDiretorio=/b\n");
  auto& m = h.start();  // the engineering build never asks the first-start question
  EXPECT_EQ(m["ComboDir"].items(), (std::vector<std::string>{"Bancada", "Linha"}));
  EXPECT_EQ(m["ComboDir"].itemIndex(), 1);
  EXPECT_TRUE(m["botaoZ"].visible());
  EXPECT_FALSE(m["GroupBoxExtras"].visible());
}

TEST(StartUp, MenuAlwaysTogglesTheStoredChoice) {
  KadHarness h;
  h.writeFile("DORN.ini", "[Atualiza]\nAutomatico=N?o\n");
  auto& m = h.start();
  m["Atualiz_sempre"].click();
  EXPECT_TRUE(m["Atualiz_sempre"].checked());
  EXPECT_EQ(platform::IniFile(h.programDir() / "DORN.ini").readString("Atualiza", "Automatico", ""), "Sim");
  m["Atualiz_sempre"].click();
  EXPECT_EQ(platform::IniFile(h.programDir() / "DORN.ini").readString("Atualiza", "Automatico", ""), "N?o");
}

TEST(LanguageDialog, SwitchingRecaptionsTheWindowButKeepsEarlierLogLines) {
  KadHarness h;
  h.writeFile("DORN.ini", "[Atualiza]\nAutomatico=N?o\n");
  auto& m = h.start();
  const auto before = h.log();
  m["ButIniciar"].setCaption("");
  m["Lingua1"].click();
  EXPECT_FALSE(m.form.root().enabled());
  EXPECT_TRUE(m.languageForm["RadioPTBR"].checked());
  m.languageForm["RadioEnglish"].click();
  m.languageForm["ButOK"].click();
  EXPECT_TRUE(m.form.root().enabled());
  EXPECT_FALSE(m.languageForm.root().visible());
  EXPECT_EQ(m.language(), UiLanguage::English);
  EXPECT_EQ(m["ButIniciar"].caption(), "Start Communication");
  EXPECT_EQ(m["lblBAT"].caption(), "BATERY");
  EXPECT_EQ(h.log(), before);
  EXPECT_EQ(platform::IniFile(h.programDir() / "DORN.ini").readString("Config", "Language", ""), "English");

  // Cancel writes nothing.
  m["Lingua1"].click();
  m.languageForm["RadioPTBR"].click();
  m.languageForm["ButCancelar"].click();
  EXPECT_EQ(m.language(), UiLanguage::English);
  EXPECT_EQ(platform::IniFile(h.programDir() / "DORN.ini").readString("Config", "Language", ""), "English");
  EXPECT_TRUE(m.form.root().enabled());
}

}  // namespace
}  // namespace kad
