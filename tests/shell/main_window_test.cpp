#include <gtest/gtest.h>

#include <fstream>

#include "shell/main_window_form.h"
#include "support/kad_harness.h"

namespace kad {
namespace {

using test::KadHarness;
namespace colors = ui::colors;

TEST(StatusLog, KeepsTheLastFifteenLinesInView) {
  struct Case {
    int lines, top;
  };
  for (const Case& c : {Case{15, 0}, Case{16, 1}, Case{40, 25}}) {
    KadHarness h;
    auto& m = h.startIdle();
    m.ButLimparClick();
    for (int i = 0; i < c.lines; ++i) m.appendLog("line " + std::to_string(i));
    EXPECT_EQ(m["ListStatus"].topIndex(), c.top) << c.lines;
    EXPECT_EQ(h.log().back(), "line " + std::to_string(c.lines - 1));
  }
}

TEST(StatusLog, FirstMatchingRuleColoursTheLineInTheCurrentLanguage) {
  struct Case {
    const char* line;
    ui::Color text, background;
  };
  const Case cases[] = {
      {"Page 3: FLASH successfully written! (error count 0)", colors::Black, colors::Lime},
      {"Could not read: error 5", colors::White, colors::Red},
      {"Error", colors::White, colors::Red},
      {"Handshake failed", colors::White, colors::Red},
      {"Communication established.", colors::White, colors::Blue},
      {"The update process finished!", colors::White, colors::Blue},
      {"COM1 OK!", colors::Black, colors::Yellow},
      {"Opening page1.tag", colors::Black, colors::Aqua},
      {"Loader mode halted!", colors::White, colors::Grey},
      {"The date and the time will be updated during the update process.", colors::White, colors::Grey},
      {"Unit: RQV527E1", colors::Black, colors::Default},
      // Written in Portuguese before a switch to English: no rule matches any more.
      {"FLASH gravada com sucesso!", colors::Black, colors::Default},
  };
  KadHarness h;
  auto& m = h.startIdle();
  m.ButLimparClick();
  for (const Case& c : cases) m.appendLog(c.line);
  auto& list = m["ListStatus"];
  ASSERT_TRUE(list.onDrawItem);
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    const auto style = list.onDrawItem(i);
    EXPECT_EQ(style.text, cases[i].text) << cases[i].line;
    EXPECT_EQ(style.background, cases[i].background) << cases[i].line;
  }
}

TEST(StatusLog, HintShowsTheSelectedLine) {
  KadHarness h;
  auto& m = h.startIdle();
  m.appendLog("a rather long line that does not fit the list");
  auto& list = m["ListStatus"];
  list.setItemIndex(2);
  list.click();
  EXPECT_EQ(list.hint(), "a rather long line that does not fit the list");
}

TEST(StatusLog, SavingAsksBeforeReplacingAndWritesCrLfLines) {
  struct Case {
    const char* name;
    bool exists;
    std::optional<ui::Answer> answer;  // the replace question, when asked
    bool cancelDialog;
    bool written;
  };
  for (const Case& c : {Case{"new", false, std::nullopt, false, true}, Case{"yes", true, ui::Answer::Yes, false, true},
                        Case{"no", true, ui::Answer::No, false, false},
                        Case{"cancel", true, std::nullopt, true, false}}) {
    KadHarness h;
    auto& m = h.startIdle();
    m.ButLimparClick();
    m.appendLog("first");
    m.appendLog("Versão 2");
    const auto file = h.dir.path() / "saved.log";
    if (c.exists) h.writeFile("saved.log", "old content");
    h.dialogs.expectSaveFile(c.cancelDialog ? std::nullopt : std::optional<std::string>(file.string()));
    if (c.answer) h.dialogs.expectMessage("saved.log already exists", *c.answer);
    m["ButSalvar"].click();
    EXPECT_EQ(h.readFile("saved.log"), c.written ? "first\r\nVersão 2\r\n" : (c.exists ? "old content" : ""))
        << c.name;
    EXPECT_TRUE(h.dialogs.allAnswered()) << c.name;
    EXPECT_EQ(h.log().size(), 2u);
  }
}

TEST(StatusLog, SavingToAnUnwritablePlaceReportsItAndKeepsTheLog) {
  KadHarness h;
  auto& m = h.startIdle();
  h.dialogs.expectSaveFile((h.dir.path() / "missing" / "saved.log").string());
  h.dialogs.expectMessage("Could not open the file");
  m["ButSalvar"].click();
  EXPECT_EQ(h.log().size(), 2u);
}

TEST(StatusLog, ClearingRemovesEveryLine) {
  KadHarness h;
  auto& m = h.startIdle();
  m["ButLimpar"].click();
  EXPECT_TRUE(h.log().empty());
}

TEST(MainWindow, PercentLabelsUseIntegerDivision) {
  struct Case {
    int position, max;
    const char* label;
  };
  KadHarness h;
  auto& m = h.startIdle();
  for (const Case& c : {Case{1, 3, "33%"}, Case{2, 3, "66%"}, Case{3, 3, "100%"}, Case{0, 1, "0%"}, Case{5, 0, "0%"}}) {
    m["ProgressAtual"].setMax(c.max);
    m["ProgressAtual"].setPosition(c.position);
    m["ProgressTotal"].setMax(c.max * 2);
    m["ProgressTotal"].setPosition(c.position);
    m.updatePercentLabels();
    EXPECT_EQ(m["lblPorcAtual"].caption(), c.label) << c.position << "/" << c.max;
    const int total = c.max > 0 ? c.position * 100 / (c.max * 2) : 0;
    EXPECT_EQ(m["lblPorcTotal"].caption(), std::to_string(total) + "%");
  }
}

TEST(MainWindow, ShortCodesAreTwoOrThreeAsciiLettersOrDigits) {
  struct Case {
    std::string text;
    bool shortCode;
  };
  for (const Case& c : {Case{"0B", true}, Case{"A1z", true}, Case{"A", false}, Case{"ABCD", false},
                        Case{"A-", false}, Case{"", false}, Case{"é", false}, Case{std::string("A\0", 2), false}}) {
    EXPECT_EQ(TKadMain::isShortCode(c.text), c.shortCode) << c.text;
  }
}

TEST(MainWindow, RestartQuitsTheLoopAndStartsTheProgramAgain) {
  KadHarness h;
  auto& m = h.startIdle();
  m.restartProgram();
  EXPECT_TRUE(h.loop.quitRequested());
  ASSERT_EQ(h.processes.started.size(), 1u);
  EXPECT_EQ(h.processes.started[0].program, platform::executablePath());
  EXPECT_TRUE(h.processes.started[0].arguments.empty());
  EXPECT_EQ(h.processes.started[0].workingDirectory, h.programDir());
  m.setModuleGridEnabled(true);
  EXPECT_TRUE(m["StringGrid"].enabled());
}

// Whether a value typed into each field is the operator's (lime) and whether the field can be
// edited at all, per profile and model.
TEST(OperatorFields, LimeAndClickRulesPerProfileAndModel) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    const char* field;
    bool lime, editable;
  };
  using enum EquipmentModel;
  const Case cases[] = {
      {"Engenharia", E1, "EditNomeCliente", true, true},   {"Engenharia", E1, "EditSliver", true, true},
      {"Engenharia", E1, "EditTipoHard", false, true},     {"Engenharia", OTDR160, "EditTipoHard", true, true},
      {"Engenharia", CATV, "EditTipoHard", true, true},    {"TesteProducao", TIM, "EditDisplay", true, true},
      {"RG", TIM, "EditCPU", true, true},                  {"RG", OPM, "EditCPU", true, true},
      {"RG", OPM, "EditEquip", false, true},               {"RG", TIM, "EditSliver", false, true},
      {"RG", OPM, "EditBateria", false, false},            {"RG", TIM, "EditTipoHard", true, true},
      {"RG", E1, "MaskNSerie", false, false},              {"Cliente", TIM, "EditCPU", false, false},
      {"NEB", E1, "EditNomeCliente", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile) + " " + c.field + " model " + std::to_string(static_cast<int>(c.model)));
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    m.selectModel(c.model);
    auto& field = m[c.field];
    field.setEnabled(true);
    field.setText(field.name() == "MaskNSerie" ? "12.34.567" : "B");
    EXPECT_EQ(field.color() == colors::Lime, c.lime);
    field.click();
    EXPECT_EQ(field.enabled(), c.editable);
    EXPECT_EQ(field.allSelected(), c.editable);
  }
}

TEST(OperatorFields, ATypedValueSurvivesTheUnitsReadUntilItIsDeleted) {
  KadHarness h("RG");
  auto& m = h.startIdle();
  m.selectModel(EquipmentModel::TIM);
  auto& cpu = m["EditCPU"];
  cpu.setEnabled(true);
  cpu.userSetText("b2");
  EXPECT_EQ(cpu.text(), "B2");
  EXPECT_EQ(cpu.color(), colors::Lime);
  EXPECT_TRUE(cpu.mark());
  m.showUnitValue("EditCPU", "A1");
  EXPECT_EQ(cpu.text(), "B2");

  cpu.userSetText("");
  EXPECT_EQ(cpu.color(), colors::Silver);
  EXPECT_FALSE(cpu.mark());
  m.showUnitValue("EditCPU", "A1");
  EXPECT_EQ(cpu.text(), "A1");
  // The unit's value is not the operator's: the next unit's value replaces it.
  EXPECT_FALSE(cpu.mark());
  m.showUnitValue("EditCPU", "A2");
  EXPECT_EQ(cpu.text(), "A2");

  // The serial number is empty when it holds only its mask.
  auto& serial = m["MaskNSerie"];
  serial.setEnabled(true);
  serial.userSetText("12.34.567");
  EXPECT_TRUE(serial.mark());
  serial.userSetText(kEmptySerialNumber);
  EXPECT_FALSE(serial.mark());
  EXPECT_EQ(serial.color(), colors::Silver);
}

TEST(OperatorFields, TheUnitsHardwareTypeAlwaysReplacesATypedOne) {
  for (const char* profile : {"RG", "Engenharia", "Cliente"}) {
    KadHarness h(profile);
    auto& m = h.startIdle();
    m.selectModel(EquipmentModel::OPM);
    auto& tipo = m["EditTipoHard"];
    tipo.setText("ZZ");
    EXPECT_FALSE(tipo.mark()) << profile;
    m.showUnitValue("EditTipoHard", "PF");
    EXPECT_EQ(tipo.text(), "PF") << profile;
  }
}

TEST(OperatorFields, UnitValuesAreAquaInTheEngineeringBuild) {
  for (const char* profile : {"Engenharia", "Cliente"}) {
    KadHarness h(profile);
    auto& m = h.startIdle();
    m.showUnitValue("EditNomeCliente", "ACME");
    EXPECT_EQ(m["EditNomeCliente"].color() == colors::Aqua, std::string(profile) == "Engenharia") << profile;
  }
}

TEST(OperatorFields, EraseFieldsOnlyInTheEngineeringBuildAndKeepsTheHardwareType) {
  for (const char* profile : {"Engenharia", "Cliente"}) {
    KadHarness h(profile);
    auto& m = h.startIdle();
    const bool engineering = std::string(profile) == "Engenharia";
    for (const char* field : kOperatorFields) m[field].setText(std::string(field) == "MaskNSerie" ? "12.34.567" : "X");
    m.ButApagaCamposClick();
    for (const char* field : kOperatorFields) {
      const bool kept = !engineering || std::string(field) == "EditTipoHard";
      const std::string expected = kept ? (std::string(field) == "MaskNSerie" ? "12.34.567" : "X")
                                        : (std::string(field) == "MaskNSerie" ? kEmptySerialNumber : "");
      EXPECT_EQ(m[field].text(), expected) << profile << " " << field;
      if (!kept) {
        EXPECT_FALSE(m[field].mark()) << field;
        EXPECT_EQ(m[field].color(), colors::Silver) << field;
      }
    }
  }
}

TEST(Shortcuts, KeysRunTheirActionOnlyWhenTheirButtonIsEnabled) {
  KadHarness h;
  auto& m = h.startIdle();
  int starts = 0, writes = 0, stops = 0;
  m["ButIniciar"].onClick = [&] { ++starts; };
  m["ButPaginas"].onClick = [&] { ++writes; };
  m.stopAndReset = [&] { ++stops; };

  EXPECT_FALSE(m.form.shortCut(ui::Key::Escape, 0));  // ButCancelar starts disabled
  EXPECT_FALSE(m.form.shortCut(ui::Key::F6, 0));      // so does ButPaginas
  EXPECT_TRUE(m.form.shortCut(ui::Key::F5, 0));
  EXPECT_EQ(starts, 1);

  m["ButCancelar"].setEnabled(true);
  m["ButPaginas"].setEnabled(true);  // enabled but still invisible
  m["ButIniciar"].setEnabled(false);
  EXPECT_TRUE(m.form.shortCut(ui::Key::Escape, 0));
  EXPECT_TRUE(m.connection.userCancelled);
  EXPECT_EQ(stops, 1);
  EXPECT_TRUE(m.form.shortCut(ui::Key::F6, 0));
  EXPECT_EQ(writes, 1);
  EXPECT_FALSE(m.form.shortCut(ui::Key::F5, 0));
  EXPECT_FALSE(m.form.shortCut(ui::Key::F2, 0));
  EXPECT_EQ(starts, 1);
}

TEST(Shortcuts, F1OpensTheBrandsHelpFile) {
  struct Case {
    const char* profile;
    const char* helpFile;
  };
  for (const Case& c : {Case{"Cliente", "helpkad.hlp"}, Case{"NEB", "helpneb-up.hlp"}}) {
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    h.writeFile("helpProgram", "");
    EXPECT_TRUE(m.form.shortCut(ui::Key::F1, 0));
    ASSERT_EQ(h.processes.started.size(), 1u);
    EXPECT_EQ(h.processes.started[0].program, h.programDir() / "helpProgram");
    EXPECT_EQ(h.processes.started[0].arguments, (std::vector<std::string>{(h.programDir() / c.helpFile).string()}));
  }
}

TEST(Shortcuts, ModeRequestsFromTheLog) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    bool startEnabled;
    ui::Key key;
    unsigned modifiers;
    bool special, loader;
  };
  using enum EquipmentModel;
  constexpr unsigned kCtrlShift = ui::Ctrl | ui::Shift;
  const Case cases[] = {
      {"Cliente", E1, true, ui::Key::F9, kCtrlShift, true, false},
      {"Cliente", DSL2, true, ui::Key::F12, kCtrlShift, false, true},
      {"RG", TIMSK, true, ui::Key::F9, kCtrlShift, true, false},
      {"Cliente", E1, true, ui::Key::F9, ui::Ctrl, false, false},
      {"Cliente", E1, false, ui::Key::F9, kCtrlShift, false, false},
      {"Engenharia", E1, true, ui::Key::F9, kCtrlShift, false, false},
      {"Cliente", OPM, true, ui::Key::F12, kCtrlShift, false, false},
      {"Cliente", TP, true, ui::Key::F9, kCtrlShift, false, false},
  };
  for (const Case& c : cases) {
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    m.selectModel(c.model);
    m["ButIniciar"].setEnabled(c.startEnabled);
    m["ListStatus"].keyDown(c.key, c.modifiers);
    EXPECT_EQ(m.specialModeRequested.load(), c.special) << c.profile << " " << static_cast<int>(c.model);
    EXPECT_EQ(m.loaderMode.load(), c.loader) << c.profile << " " << static_cast<int>(c.model);
  }
}

}  // namespace
}  // namespace kad
