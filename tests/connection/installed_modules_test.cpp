#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "connection/installed_modules.h"
#include "support/kad_harness.h"

namespace kad {
namespace {

using test::KadHarness;

// A window (English) whose unit has been identified with the hardware type and module word.
struct GridWindow {
  GridWindow(EquipmentModel model, const char* hardware, std::uint16_t moduleWord) {
    h.writeFile("DORN.ini", "[Config]\nLanguage=English\n[Atualiza]\nAutomatico=N?o\n");
    auto& m = h.start();
    m.selectModel(model);
    m.pageChecks.unitHardwareTypeText = hardware;
    m.personalData.moduleWord = moduleWord;
    EXPECT_TRUE(m.ReadInstalledModules());
  }
  TKadMain& main() { return *h.main; }
  std::vector<std::string> installed() const {
    std::vector<std::string> names;
    auto& grid = h.main->form["StringGrid"];
    for (int row = 0; row < grid.rowCount(); ++row) {
      if (grid.cell(1, row) == "Yes") names.push_back(grid.cell(0, row));
    }
    return names;
  }
  std::vector<std::string> extras() const {
    auto names = installed();
    const std::size_t base = h.main->currentModel.load() == EquipmentModel::T1 ? 6 : 7;
    names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(std::min(base, names.size())));
    return names;
  }
  int selectedCount() const {
    return static_cast<int>(std::count(std::begin(h.main->moduleFlags), std::end(h.main->moduleFlags), true));
  }
  void doubleClick(int col, int row) {
    h.main->StringGridMouseUp(col, row);
    h.main->form["StringGrid"].doubleClick();
  }
  KadHarness h;
};

TEST(ModuleGrid, SlotsFromTheModuleWord) {
  struct Case {
    EquipmentModel model;
    const char* hardware;
    std::uint16_t word;
    std::vector<std::string> extras;
    int errorLines;
  };
  const std::vector<Case> cases = {
      // Invalid on E1 with slot 1 = 0: replaced by 4, 5, 6, 7.
      {EquipmentModel::E1, "a", 0x0000, {"ISDN", "Dual Tx/ Rx", "Pulse Mask", "ETHERNET"}, 0},
      // Invalid on E1 with slot 1 not 0: kept as read.
      {EquipmentModel::E1, "a", 0x3210, {"X.25", "X.50", "HDLC-CISCO", "DTMF"}, 0},
      {EquipmentModel::T1, "a", 0x0256, {"X.25", "HDLC-CISCO", "Dual Tx/ Rx", "Pulse Mask"}, 0},
      // Valid, but indices 1 and 3 have no T1 row.
      {EquipmentModel::T1, "a", 0x0137, {"X.25", "ETHERNET"}, 2},
      // Invalid on T1: 0, 2, 5, 6.
      {EquipmentModel::T1, "a", 0xFFFF, {"X.25", "HDLC-CISCO", "Dual Tx/ Rx", "Pulse Mask"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.word);
    GridWindow w(c.model, c.hardware, c.word);
    EXPECT_EQ(w.extras(), c.extras);
    EXPECT_EQ(w.selectedCount(), static_cast<int>(c.extras.size()));
    const auto log = w.h.log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Error while checking for extra modules installed."), c.errorLines);
    EXPECT_EQ(w.main()["StringGrid"].rowCount(), c.model == EquipmentModel::E1 ? 15 : 11);
  }
}

TEST(ModuleGrid, RowsOfTheOtherModelsAndNewHardware) {
  struct Case {
    EquipmentModel model;
    const char* hardware;
    std::vector<std::string> installed;
  };
  const std::vector<Case> cases = {
      {EquipmentModel::OTDR, "a1", {"OPM", "SLS", "VFL"}},
      {EquipmentModel::OTDR, "C3", {"OPM", "SLS"}},
      {EquipmentModel::TIM, "x", {"Frequency Response", "Longitudinal Balance", "DTMF"}},
      {EquipmentModel::TP, "x", {"IPTV", "SGW", "Certification", "Power Meter", "Wifi", "Gprs browser"}},
      {EquipmentModel::CATV, "x", {}},
  };
  for (const Case& c : cases) {
    GridWindow w(c.model, c.hardware, 0);
    EXPECT_EQ(w.installed(), c.installed) << static_cast<int>(c.model) << " " << c.hardware;
  }
  // New hardware has every extra module, none of them chosen.
  GridWindow e1(EquipmentModel::E1, "PC", 0x0000);
  EXPECT_EQ(e1.installed().size(), 15u);
  EXPECT_EQ(e1.selectedCount(), 0);
  EXPECT_EQ(e1.main().StringGridDrawCell(1, 14).background, ui::colors::Blue);
}

TEST(ModuleGrid, TheTpListingIsSkippedOnceAfterTheWritePreparationEndedTheConnection) {
  GridWindow w(EquipmentModel::TP, "x", 0);
  auto& m = w.main();
  m.resetModuleGrid();
  m.moduleGrid.setSkipNextTpListing(true);
  m.ReadInstalledModules();
  EXPECT_EQ(m["StringGrid"].rowCount(), 1);
  m.ReadInstalledModules();
  EXPECT_EQ(m["StringGrid"].rowCount(), 6);
}

TEST(ModuleGrid, DoubleClickTogglesExtrasWithinTheRules) {
  GridWindow w(EquipmentModel::E1, "nd", 0x0000);  // ISDN, Dual, Pulse Mask, ETHERNET: four chosen
  auto& m = w.main();
  auto& d = w.h.dialogs;

  d.expectMessage("You may install only 4 extra modules.");
  w.doubleClick(1, 7);  // X.25: a fifth
  EXPECT_EQ(w.selectedCount(), 4);

  w.doubleClick(1, 14);  // ETHERNET off frees a slot
  EXPECT_EQ(m["StringGrid"].cell(1, 14), "No");
  w.doubleClick(1, 7);
  EXPECT_EQ(m["StringGrid"].cell(1, 7), "Yes");
  EXPECT_TRUE(m.moduleFlags[0]);
  EXPECT_FALSE(m.moduleFlags[7]);

  d.expectMessage("This module can't be uninstalled.");
  w.doubleClick(1, 3);  // a base module

  d.expectMessage("Incompatible");
  w.doubleClick(1, 11);  // ISDN on "nd": refused, whichever way
  EXPECT_EQ(m["StringGrid"].cell(1, 11), "Yes");

  w.doubleClick(0, 8);  // the name column does not react
  EXPECT_TRUE(d.allAnswered());

  // Colours: extras green, base blue, not installed red; text white.
  EXPECT_EQ(m.StringGridDrawCell(1, 7).background, ui::colors::Green);
  EXPECT_EQ(m.StringGridDrawCell(1, 0).background, ui::colors::Blue);
  EXPECT_EQ(m.StringGridDrawCell(1, 14).background, ui::colors::Red);
  EXPECT_EQ(m.StringGridDrawCell(1, 14).text, ui::colors::White);
  EXPECT_EQ(m.StringGridDrawCell(0, 0).background, ui::colors::Default);
}

TEST(ModuleGrid, WithOnlyOnePageTheModulesCannotChange) {
  GridWindow w(EquipmentModel::E1, "a", 0x0000);
  auto& m = w.main();
  m["chkPageX"].setChecked(true);
  w.doubleClick(1, 3);  // rows 0 to 6: nothing
  w.h.dialogs.expectMessage("It is not possible to modify the modules updating only one page.");
  w.doubleClick(1, 9);
  EXPECT_EQ(m["StringGrid"].cell(1, 9), "No");
}

TEST(ModuleGrid, HardwareRulesOfTheE1Extras) {
  struct Case {
    int row;
    const char* type;
    bool allowed;
  };
  for (const Case& c : {Case{11, "nd", false}, Case{11, "ND", false}, Case{11, "a", true}, Case{12, "l", false},
                        Case{12, "m", true}, Case{13, "i", false}, Case{13, "j", true}, Case{13, "la", false},
                        Case{14, "j", false}, Case{14, "k", true}, Case{7, "a", true}}) {
    EXPECT_EQ(extraModuleAllowed(c.row, c.type), c.allowed) << c.row << " " << c.type;
  }
}

}  // namespace
}  // namespace kad
