#include <gtest/gtest.h>

#include "support/kad_harness.h"

namespace kad {
namespace {

using test::KadHarness;
using enum EquipmentModel;

TEST(UnitChecks, ConnectedFamilyAgainstTheSelectedModel) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    std::uint16_t family, revision;
    const char* dialog;  // part of the message (or title) shown; none: silent
    ui::Answer answer;
    bool passes;
  };
  const Case cases[] = {
      // E1 and T1 tell themselves apart only from revision 2 on.
      {"Cliente", E1, 201, 1, nullptr, ui::Answer::Ok, true},
      {"Cliente", E1, 201, 2, "ERROR! The connected unit isn't the selected one.", ui::Answer::Ok, false},
      {"Engenharia", E1, 201, 2, "Do you wish to proceed?", ui::Answer::Yes, true},
      {"Engenharia", E1, 201, 2, "Do you wish to proceed?", ui::Answer::No, false},
      {"Cliente", T1, 200, 1, nullptr, ui::Answer::Ok, true},
      {"NEB", T1, 200, 3, "Please check the setup.", ui::Answer::Ok, false},
      {"Cliente", TIM, 201, 0, "Warning", ui::Answer::Ok, false},  // the one error with a warning title
      {"Cliente", DSL2, 201, 0, "Error", ui::Answer::Ok, false},
      {"RG", TIMSK, 300, 0, nullptr, ui::Answer::Ok, true},  // a TIM unit may take the TIMSK firmware
      {"RG", TIM, 301, 0, "Selected unit: RQV638TIM", ui::Answer::Ok, false},
      {"Cliente", E1, 400, 0, "Connected unit: RQV749DSL2+", ui::Answer::Ok, false},
      {"Cliente", DSL2, 400, 0, nullptr, ui::Answer::Ok, true},
      {"Cliente", E1, 999, 0, "Unknown", ui::Answer::Ok, false},
      {"Cliente", OPM, 999, 0, nullptr, ui::Answer::Ok, true},  // only the line testers are judged
      {"Cliente", TP, 201, 5, nullptr, ui::Answer::Ok, true},
      // Units with an old firmware report no identity.
      {"Cliente", E1, 31104, 0, nullptr, ui::Answer::Ok, true},
      {"Engenharia", E1, 31104, 0, "RQV527E1", ui::Answer::No, false},
      {"Engenharia", DSL2, 31104, 0, "RQV749DSL2+", ui::Answer::Yes, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile) + " model " + std::to_string(static_cast<int>(c.model)) + " unit " +
                 std::to_string(c.family) + " rev " + std::to_string(c.revision));
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    m.selectModel(c.model);
    m.unitIdentity.UnitFamilyCode = c.family;
    m.unitIdentity.UnitRevision = c.revision;
    if (c.dialog) h.dialogs.expectMessage(c.dialog, c.answer);
    EXPECT_EQ(m.CheckUnitMatchesModel(), c.passes);
    EXPECT_TRUE(h.dialogs.allAnswered());
    EXPECT_EQ(h.dialogs.shown().size(), c.dialog ? 1u : 0u);
  }
}

TEST(UnitChecks, OldFirmwareIsQuestionedInTheSpecialMode) {
  KadHarness h;
  auto& m = h.startIdle();
  m.specialMode = true;
  m.unitIdentity.UnitFamilyCode = 31104;
  h.dialogs.expectMessage("RQV527E1", ui::Answer::No);
  EXPECT_FALSE(m.CheckUnitMatchesModel());
}

TEST(UnitChecks, TheTtLineFlagFollowsTheLastE1Unit) {
  KadHarness h;
  auto& m = h.startIdle();
  struct Step {
    std::uint16_t family;
    EquipmentModel model;
    bool flag;
  };
  // 202 sets it, 300 leaves it, 200 clears it.
  for (const Step& s : {Step{202, E1, true}, Step{300, TIMSK, true}, Step{200, E1, false}, Step{202, E1, true}}) {
    m.selectModel(s.model);
    m.unitIdentity.UnitFamilyCode = s.family;
    EXPECT_TRUE(m.CheckUnitMatchesModel());
    EXPECT_EQ(m.unitIdentity.FamilyCode202, s.flag) << s.family;
  }
  // A TT unit with a model of another family is reported by its code and still marks the flag.
  m.unitIdentity.FamilyCode202 = false;
  m.selectModel(DSL2);
  m.unitIdentity.UnitFamilyCode = 202;
  h.dialogs.expectMessage("QUAVELDEN8");
  h.dialogs.expectMessage("ERROR! The connected unit isn't the selected one.");
  EXPECT_FALSE(m.CheckUnitMatchesModel());
  EXPECT_TRUE(m.unitIdentity.FamilyCode202);
}

TEST(UnitChecks, UsbModelByte) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    int modelByte;
    std::string code;
    bool modulesChecked;
    const char* message;  // none: accepted
  };
  const Case cases[] = {
      {"Cliente", OTDR170, 5, "", false, "The selected unit isn't the RQV467OTDR."},
      {"Cliente", OTDR170, 6, "", false, nullptr},
      {"Cliente", OTDR160, 5, "", false, nullptr},
      {"Cliente", OTDR, 3, "", false, nullptr},
      {"Cliente", CATV, 1, std::string("AB\0\0", 4), false, nullptr},
      {"Cliente", CATV, 2, "", false, "RQV851CATV"},
      // Old OPM units report the CATV byte with a code field that is no short code.
      {"Cliente", OPM, 2, "", false, nullptr},
      {"Cliente", OPM, 1, std::string("ABCD", 4), false, nullptr},
      {"Cliente", OPM, 1, std::string("AB\0\0", 4), false, "RQV431"},
      {"Cliente", OPM, 1, std::string("A1B\0", 4), true, "RQV431"},  // the modules box does not excuse OPM
      // Old megohmmeters report it with "0B" in the code field.
      {"Cliente", MEGOMETRO, 4, "", false, nullptr},
      {"Cliente", MEGOMETRO, 1, std::string("0B\0\0", 4), false, nullptr},
      {"Cliente", MEGOMETRO, 1, std::string("0C\0\0", 4), false, "RQV962M"},
      {"Cliente", MEGOMETRO, 1, std::string("0C\0\0", 4), true, nullptr},
      {"Engenharia", OTDR170, 5, "", false, nullptr},
      {"Cliente", E1, 9, "", false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile) + " model " + std::to_string(static_cast<int>(c.model)) + " byte " +
                 std::to_string(c.modelByte));
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    m.selectModel(c.model);
    m["chkSelModulos"].setEnabled(true);
    if (c.modulesChecked) m["chkSelModulos"].setChecked(true);
    m.unitIdentity.usbModelByte = c.modelByte;
    m.unitIdentity.usbCodeField = c.code;
    int ends = 0;
    m.connection.connectionClosed = false;
    m["ButIniciar"].setEnabled(false);
    m.form.addObserver([&](ui::Control& control, ui::Property property) {
      if (control.name() != "ButIniciar" || property != ui::Property::Enabled || !control.enabled()) return;
      ++ends;
      EXPECT_TRUE(h.dialogs.shown().empty());  // the connection ends before the message
    });
    if (c.message) h.dialogs.expectMessage(c.message);
    EXPECT_EQ(m.checkUsbModelByte(), c.message == nullptr);
    EXPECT_EQ(ends, c.message ? 1 : 0);
    if (c.message) {
      EXPECT_EQ(h.dialogs.shown().at(0).title, "Information");
    }
  }
}

TEST(UnitChecks, TpDeviceType) {
  struct Case {
    EquipmentModel model;
    std::uint16_t deviceType;
    const char* message;  // none: accepted
  };
  const Case cases[] = {
      {TP, 836, nullptr},
      {TP, 837, nullptr},
      {TP, 0x0201, "isn't RQV183TP"},
      {E1, 0x0201, nullptr},
      {E1, 836, "Connected unit: RQV183TP\n"},
      {TIMSK, 837, "Connected unit: RQV183TP+"},
      {DSL2, 4660, "incompatible"},
      {TP, 4660, "incompatible"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("model " + std::to_string(static_cast<int>(c.model)) + " device " + std::to_string(c.deviceType));
    KadHarness h;
    auto& m = h.startIdle();
    m.selectModel(c.model);
    int ends = 0;
    m.connection.connectionClosed = false;
    m["ButIniciar"].setEnabled(false);
    m.form.addObserver([&](ui::Control& control, ui::Property property) {
      if (control.name() == "ButIniciar" && property == ui::Property::Enabled && control.enabled()) ++ends;
    });
    if (c.message) h.dialogs.expectMessage(c.message);
    EXPECT_EQ(m.checkTpDeviceType(c.deviceType), c.message == nullptr);
    EXPECT_EQ(ends, c.message ? 1 : 0);
    if (c.deviceType == 4660) {
      EXPECT_NE(h.log().back().find("incompatible"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace kad
