#include <gtest/gtest.h>

#include "models/write_preparation.h"

namespace kad {
namespace {

using enum EquipmentModel;

TEST(WritePreparationRules, HardwareTypesResolveToTheirFolders) {
  struct Case {
    EquipmentModel model;
    const char* type;
    bool familyCode202;
    const char* folder;  // null: not served
    const char* entry;
  };
  const Case cases[] = {
      {E1, "nc", false, "RQV527E1/HARD_PF/", "pf"},
      {E1, "k", false, "RQV527E1/HARD_PF/", "pf"},
      {E1, "", true, "RQV527E1/HARD_TT_PF/", "pf"},
      {static_cast<EquipmentModel>(42), "x", false, "RQV527E1/HARD_PF/", "pf"},  // unknown codes act as E1
      {DSL2, "i", false, "RQV749DSL2+/HARD_I/", "i"},
      {DSL2, "d", false, "RQV749DSL2+/HARD_D/", "d"},
      {DSL2, "c", false, nullptr, nullptr},
      {TIM, "ia", false, "RQV638TIM/HARD_IA/", "ia"},
      {TIM, "i", false, "RQV638TIM/HARD_I/", "i"},
      {TIM, "c", false, "RQV638TIM/HARD_C/", "c"},
      {TIM, "b", false, nullptr, nullptr},
      {TIM, "IA", false, nullptr, nullptr},  // the caller lowers the type first
      {TIMSK, "b", false, "RQV638TIMSK/HARD_B/", "b"},
      {TP, "a", false, "RQV183TP/", "a"},
      {TP, "b", false, "RQV183TP/", "b"},
      {TP, "c", false, nullptr, nullptr},
      {CATV, "d", false, "RQV851CATV/HARD_D/", "d"},
      {CATV, "b", false, nullptr, nullptr},
      {MEGOMETRO, "a", false, "RQV962M/HARD_A/", "a"},
      {OTDR, "a3", false, "RQV465OTDR/HARD_A3/", "a3"},
      {OTDR, "c4", false, "RQV465OTDR/HARD_C4/", "c4"},
      {OTDR, "b", false, nullptr, nullptr},
      {OTDR160, "a", false, "RQV466OTDR/HARD_A/", "a"},
      {OTDR170, "a1", false, nullptr, nullptr},
      {OPM, "a", false, "RQV432PPM/HARD_A/", "a"},
      {OPM, "c", false, "RQV431OPM/HARD_C/", "c"},
      {OPM, "d", false, "RQV431OPM/HARD_D/", "d"},
      {OPM, "b", false, nullptr, nullptr},
      {CPU206, "zz", false, "FIRMWARE_E1_TIM/HARD_A/", "a"},
  };
  for (const auto& c : cases) {
    const auto resolved = resolveHardwareFolder(c.model, c.type, c.familyCode202);
    SCOPED_TRACE(std::to_string(static_cast<int>(c.model)) + " " + c.type);
    if (!c.folder) {
      EXPECT_FALSE(resolved);
      continue;
    }
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->folder, c.folder);
    EXPECT_EQ(resolved->entry, c.entry);
  }
}

TEST(WritePreparationRules, EquipmentListGrowsByPlainSubstringTest) {
  struct Case {
    const char* list;
    const char* entry;
    const char* expected;
  };
  const Case cases[] = {
      {"", "pf", "$0pf."},
      {"$0pf.", "pf", "$0pf."},
      {"$0i.", "h", "$0i.0h."},
      {"$0ia.", "i", "$0ia."},  // "i" occurs inside "ia"
      {"$0i.0h.", "ia", "$0i.0h.0ia."},
      {"$0a1.", "a", "$0a1."},
  };
  for (const auto& c : cases) EXPECT_EQ(addToEquipmentList(c.list, c.entry), c.expected) << c.list << " + " << c.entry;
}

TEST(WritePreparationRules, TpListNamesBothTypesFromTheSecondRunOn) {
  std::string list;
  const char* expected[] = {"$0b.", "$0b.0a.", "$0b.0a."};
  for (const char* step : expected) {
    list = addToTpEquipmentList(list);
    EXPECT_EQ(list, step);
  }
  EXPECT_EQ(addToTpEquipmentList("$0a."), "$0a.0b.");
}

TEST(WritePreparationRules, FullPageSetsPerModelAndHardware) {
  auto e1Old = fullPageSetFiles(E1, "k");
  ASSERT_EQ(e1Old.size(), 16u + 9u);
  EXPECT_EQ(e1Old.front(), "page0.tag");
  EXPECT_EQ(e1Old[15], "page15.tag");
  EXPECT_EQ(std::vector<std::string>(e1Old.begin() + 16, e1Old.end()),
            (std::vector<std::string>{"pms.tag", "tc3.tag", "x25.tag", "x50c.tag", "x50r.tag", "isdn.tag", "dtmf.tag",
                                      "eth.tag", "chdlc.tag"}));
  auto t1Old = fullPageSetFiles(T1, "k");
  EXPECT_EQ(std::vector<std::string>(t1Old.begin() + 16, t1Old.end()),
            (std::vector<std::string>{"pms.tag", "tc3.tag", "x25.tag", "eth.tag", "chdlc.tag"}));
  for (const char* newType : {"mc", "nc", "oc", "pc"}) {
    auto files = fullPageSetFiles(T1, newType);
    ASSERT_EQ(files.size(), 22u) << newType;
    EXPECT_EQ(files[20], "page20.tag");
    EXPECT_EQ(files[21], "page25.tag");
  }
  EXPECT_EQ(fullPageSetFiles(DSL2, "i"), (std::vector<std::string>{"page0.tag", "page1.tag", "page2.tag", "page3.tag",
                                                                    "page4.tag", "page10.tag", "page13.tag"}));
  EXPECT_EQ(fullPageSetFiles(TIMSK, "a"),
            (std::vector<std::string>{"page0.tag", "page2.tag", "page4.tag", "page6.tag", "page8.tag", "page10.tag",
                                      "page12.tag", "page14.tag", "page16.tag"}));
  EXPECT_TRUE(fullPageSetFiles(CATV, "a").empty());
}

TEST(WritePreparationRules, KeysPerModel) {
  struct Case {
    EquipmentModel model;
    const char* equipment;
    const char* version;
    const char* localCopy;
    EquipmentModel target;
  };
  const Case cases[] = {
      {E1, "HARD_E1", "VER_E1", "HARD_E1", E1},
      {T1, nullptr, "VER_E1", "HARD_E1", E1},
      {OTDR160, "HARD_OTDR", "VER_160_OTDR", "HARD_OTDR", OTDR160},
      {CPU206, "FIRM_CPU206", "HARD_CPU206", "FIRM_CPU206", CPU206},
      {TP, "HARD_TP", "VER_TP", "HARD_TP", TP},
  };
  for (const auto& c : cases) {
    const auto& row = writeModelRow(c.model);
    EXPECT_EQ(row.model, c.model);
    EXPECT_EQ(row.equipmentKey == nullptr, c.equipment == nullptr);
    if (c.equipment) {
      EXPECT_STREQ(row.equipmentKey, c.equipment);
    }
    EXPECT_STREQ(row.versionKey, c.version);
    EXPECT_STREQ(row.localCopyKey, c.localCopy);
    EXPECT_EQ(row.downloadTarget, c.target);
  }
  for (int code = 0; code < kModelCount; ++code) {
    EXPECT_EQ(writeModelRow(static_cast<EquipmentModel>(code)).model, static_cast<EquipmentModel>(code));
  }
}

}  // namespace
}  // namespace kad
