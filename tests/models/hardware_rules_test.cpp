#include <gtest/gtest.h>

#include "support/kad_harness.h"

namespace kad {
namespace {

using test::KadHarness;
using enum EquipmentModel;

struct Labels {
  std::string cpu, equip, bat;
  bool operator==(const Labels&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Labels& l) { return out << l.cpu << "/" << l.equip << "/" << l.bat; }

Labels labelsOf(const TKadMain& m) { return {m["lblCPU"].caption(), m["lblEQUIP"].caption(), m["lblBAT"].caption()}; }

const Labels kOldE1{"CPU", "TSET", "BATERY"};
const Labels kNewE1{"LCD", "CPU", "TSET"};
const Labels kOldTim{"CPU", "TIM", "BATERY"};
const Labels kNewTim{"LCD", "CPU", "TIM"};

TEST(HardwareRules, TheUnitsHardwareTypeDecidesTheLabels) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    const char* type;
    Labels labels;
  };
  const Case cases[] = {
      {"Cliente", E1, "NC", kOldE1},     {"Cliente", E1, "nc", kOldE1},    {"Cliente", E1, "od", kOldE1},
      {"Cliente", E1, "PF", kNewE1},     {"Cliente", E1, "", kNewE1},      {"NEB", E1, "LA", kOldE1},
      {"RG", E1, "A", kOldE1},           {"Cliente", TIM, "L", kNewTim},   {"Cliente", TIM, "M", kOldTim},
      {"NEB", TIM, "IA", kOldTim},       {"Cliente", TIMSK, "A", kNewTim},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile) + " model " + std::to_string(static_cast<int>(c.model)) + " type " + c.type);
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    m.selectModel(c.model);
    m.showUnitValue("EditTipoHard", c.type);
    if (std::string(c.type).empty()) m.verificaHardZ();
    EXPECT_EQ(labelsOf(m), c.labels);
  }
}

TEST(HardwareRules, TheOldHardwareBoxDecidesInTheServiceBuilds) {
  struct Case {
    const char* profile;
    EquipmentModel model;
  };
  for (const Case& c : {Case{"Engenharia", E1}, Case{"Engenharia", TIM}, Case{"RG", TIM}}) {
    SCOPED_TRACE(std::string(c.profile) + " model " + std::to_string(static_cast<int>(c.model)));
    const bool e1 = c.model == E1;
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    m.selectModel(c.model);
    m["EditTipoHard"].setEnabled(true);
    m["EditTipoHard"].setText("A");  // an old type, but the box is unchecked
    m.verificaHardZ();
    EXPECT_EQ(labelsOf(m), e1 ? kNewE1 : kNewTim);
    m["botaoZ"].click();
    EXPECT_EQ(labelsOf(m), e1 ? kOldE1 : kOldTim);
    m["botaoZ"].click();
    EXPECT_EQ(labelsOf(m), e1 ? kNewE1 : kNewTim);
  }
}

TEST(HardwareRules, OtherModelsKeepTheirLabels) {
  KadHarness h;
  auto& m = h.startIdle();
  m.selectModel(DSL2);
  m.showUnitValue("EditTipoHard", "A");
  m.verificaHardZ();
  EXPECT_EQ(labelsOf(m), (Labels{"CPU", "SLIVER", "BATERY"}));
  // Selecting E1 outside the engineering build writes the old labels until the unit's type arrives.
  m.selectModel(E1);
  EXPECT_EQ(labelsOf(m), kOldE1);
}

TEST(HardwareRules, StartUpAppliesTheRules) {
  KadHarness h;
  auto& m = h.startIdle();
  EXPECT_EQ(labelsOf(m), kNewE1);  // no hardware type yet
}

}  // namespace
}  // namespace kad
