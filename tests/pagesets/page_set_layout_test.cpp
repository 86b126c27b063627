#include "pagesets/page_set_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kad {
namespace {

using enum EquipmentModel;
using Names = std::vector<std::string>;

Names fileNames(const PageSequence& sequence) {
  Names names;
  for (const PageStep& step : sequence.steps) names.push_back(step.fileName);
  return names;
}

Names pageNames(std::initializer_list<int> pages) {
  Names names;
  for (const int page : pages) names.push_back(pageFileName(page));
  return names;
}

Names concat(Names a, const Names& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(PageSetFiles, ModuleFilesAndPaths) {
  const Names expected = {"x25.tag", "x50r.tag", "chdlc.tag", "dtmf.tag", "isdn.tag", "tc3.tag", "pms.tag", "eth.tag"};
  for (int index = 0; index < 8; ++index) EXPECT_EQ(modulePageFile(index), expected[static_cast<std::size_t>(index)]);
  EXPECT_EQ(modulePageFile(8), "");
  EXPECT_EQ(modulePageFile(-1), "");

  const std::filesystem::path set = "/opt/kad/RQV527E1/HARD_MC";
  EXPECT_EQ(pageFilePath(set, 7), set / "page7.tag");
  EXPECT_EQ(pageFilePath(set, 20), set / "page20.tag");
  EXPECT_EQ(modulePagePath(set, 5), set / "tc3.tag");
  EXPECT_EQ(modulePagePath(set, 9), set);
}

TEST(PageSetLayout, HardwareTypeChoosesTheLineTesterLayout) {
  struct Case {
    LinkMode link;
    const char* type;
    PageLayout layout;
  };
  using enum PageLayout;
  const Case cases[] = {
      {LinkMode::Serial, "MC", TwentyPages},    {LinkMode::Serial, "nc", TwentyPages},
      {LinkMode::Ethernet, "Oc", TwentyPages},  {LinkMode::Ethernet, "pc", TwentyPages},
      {LinkMode::Serial, "lc", FifteenPagesWithModules},
      {LinkMode::Serial, "", FifteenPagesWithModules},
      {LinkMode::USB, "PC", TwentyPages},       {LinkMode::USB, "MC", FifteenPagesWithModules},
      {LinkMode::USB, "oc", FifteenPagesWithModules},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " link " + std::to_string(static_cast<int>(c.link)));
    EXPECT_EQ(chooseLayout(c.link, c.type), c.layout);
  }
}

TEST(PageSequences, KindPerModelAndLink) {
  EXPECT_EQ(sequenceKind(E1, LinkMode::USB), SequenceKind::LineTesterPages);
  EXPECT_EQ(sequenceKind(TIM, LinkMode::Ethernet), SequenceKind::None);
  EXPECT_EQ(sequenceKind(DSL2, LinkMode::USB), SequenceKind::None);
  EXPECT_EQ(sequenceKind(OTDR170, LinkMode::USB), SequenceKind::BinaryImage);
  EXPECT_EQ(sequenceKind(CPU206, LinkMode::USB), SequenceKind::BinaryImage);
  EXPECT_EQ(sequenceKind(TP, LinkMode::Ethernet), SequenceKind::None);
  EXPECT_EQ(sequenceKind(static_cast<EquipmentModel>(-3), LinkMode::Serial), SequenceKind::LineTesterPages);
}

struct SequenceCase {
  const char* name;
  SequenceRequest request;
  Names files;
  int totalMax;
};

TEST(PageSequences, FilesInOrderAndTotalProgress) {
  const ModuleSlots plainModules{0, 2, 3, 4};
  const Names twenty = concat(pageNames({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
                              concat({"page25.tag"}, pageNames({13, 14, 15, 16, 17, 18, 19, 20})));
  const Names fifteen = concat(pageNames({1, 2, 3, 4, 5, 6, 7, 8}),
                               concat({"x25.tag"}, concat(pageNames({10, 11}), {"chdlc.tag", "dtmf.tag", "isdn.tag", "page15.tag"})));
  const std::vector<SequenceCase> cases = {
      {"E1 serial 20 pages", {.model = E1, .link = LinkMode::Serial, .hardwareTypeText = "mc"}, twenty, 42},
      {"E1 serial 20 pages resumed at 18",
       {.model = E1, .link = LinkMode::Serial, .hardwareTypeText = "pc", .startPage = 18},
       pageNames({18, 19, 20}), 42},
      {"E1 Ethernet ignores the resume page",
       {.model = E1, .link = LinkMode::Ethernet, .hardwareTypeText = "pc", .startPage = 18}, twenty, 42},
      {"E1 USB 20 pages", {.model = E1, .link = LinkMode::USB, .hardwareTypeText = "pc"},
       concat({"user.tag"}, twenty), 21},
      {"E1 USB with MC takes 15 pages",
       {.model = E1, .link = LinkMode::USB, .hardwareTypeText = "MC", .moduleSlots = plainModules},
       concat({"user.tag"}, fifteen), 16},
      {"T1 serial 15 pages", {.model = T1, .link = LinkMode::Serial, .hardwareTypeText = "lc", .moduleSlots = plainModules},
       fifteen, 32},
      {"15 pages with x50r in slot 1",
       {.model = E1, .link = LinkMode::Serial, .hardwareTypeText = "lc", .startPage = 9, .moduleSlots = {1, 5, 3, 4}},
       {"x50r.tag", "x50c.tag", "page10.tag", "page11.tag", "tc3.tag", "dtmf.tag", "isdn.tag", "page15.tag"}, 32},
      {"15 pages with a slot naming no file",
       {.model = E1, .link = LinkMode::Serial, .hardwareTypeText = "lc", .startPage = 14, .moduleSlots = {0, 2, 3, 9}},
       {"", "page15.tag"}, 32},
      {"DSL2+ from page 1", {.model = DSL2, .link = LinkMode::Serial}, pageNames({1, 2, 3, 4, 10, 13}), 14},
      {"DSL2+ resumed at 7", {.model = DSL2, .link = LinkMode::Serial, .startPage = 7}, pageNames({7, 8, 9, 10, 13}), 14},
      {"DSL2+ resumed at 5", {.model = DSL2, .link = LinkMode::Serial, .startPage = 5}, pageNames({10, 13}), 14},
      {"DSL2+ Ethernet", {.model = DSL2, .link = LinkMode::Ethernet, .startPage = 7}, pageNames({1, 2, 3, 4, 10, 13}), 14},
      {"DSL2+ USB writes nothing", {.model = DSL2, .link = LinkMode::USB}, {}, 0},
      {"TIM serial", {.model = TIM, .link = LinkMode::Serial}, pageNames({2, 4, 8, 10, 12, 14, 16}), 16},
      {"TIM serial with calibration page", {.model = TIMSK, .link = LinkMode::Serial, .withCalibrationPage = true},
       pageNames({2, 4, 6, 8, 10, 12, 14, 16}), 18},
      {"TIM serial resumed at 12", {.model = TIM, .link = LinkMode::Serial, .startPage = 12}, pageNames({12, 14, 16}), 16},
      {"TIM USB", {.model = TIM, .link = LinkMode::USB, .withCalibrationPage = true},
       concat({"flash_r2.tag"}, pageNames({2, 4, 8, 10, 12, 14, 16})), 8},
      {"TIM USB engineering with calibration page",
       {.model = TIM, .link = LinkMode::USB, .profile = ProfileEngineering, .withCalibrationPage = true},
       concat({"flash_r2.tag"}, pageNames({2, 4, 6, 8, 10, 12, 14, 16})), 9},
      {"TIM Ethernet", {.model = TIM, .link = LinkMode::Ethernet}, {}, 0},
      {"OTDR image", {.model = OTDR, .link = LinkMode::USB}, {}, 0},
      {"TP", {.model = TP, .link = LinkMode::Ethernet}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PageSequence sequence = buildPageSequence(c.request);
    EXPECT_EQ(fileNames(sequence), c.files);
    EXPECT_EQ(sequence.totalProgressMax, c.totalMax);
  }
}

TEST(PageSequences, SecondHalvesShareTheirPageAndAreAnnouncedAs25) {
  const auto twenty = buildPageSequence({.model = E1, .link = LinkMode::USB, .hardwareTypeText = "pc"});
  ASSERT_EQ(twenty.steps.size(), 22u);
  const PageStep& ram = twenty.steps[0];
  EXPECT_TRUE(ram.firstRecord);
  EXPECT_EQ(ram.source, PageSource::ProgramDirectory);
  EXPECT_EQ(ram.path("/opt/kad", "/opt/kad/E1"), std::filesystem::path("/opt/kad/user.tag"));

  const PageStep& page12 = twenty.steps[12];
  const PageStep& page25 = twenty.steps[13];
  EXPECT_EQ(page12.fileName, "page12.tag");
  EXPECT_EQ(page12.part, PagePart::FirstHalf);
  EXPECT_EQ(page12.bank(), 24);
  EXPECT_EQ(page25.fileName, "page25.tag");
  EXPECT_EQ(page25.part, PagePart::SecondHalf);
  EXPECT_EQ(page25.page, 12);
  EXPECT_EQ(page25.bank(), 25);
  EXPECT_EQ(page25.recordPage, 25);
  EXPECT_EQ(page25.path("/opt/kad", "/opt/kad/E1"), std::filesystem::path("/opt/kad/E1/page25.tag"));
  EXPECT_FALSE(page25.checkHardwareType);  // not on the USB link

  const auto fifteen = buildPageSequence(
      {.model = E1, .link = LinkMode::Serial, .hardwareTypeText = "lc", .moduleSlots = {0, 2, 1, 4}});
  const auto x50r = std::find_if(fifteen.steps.begin(), fifteen.steps.end(),
                                 [](const PageStep& s) { return s.fileName == "x50r.tag"; });
  ASSERT_NE(x50r, fifteen.steps.end());
  const PageStep& x50c = *(x50r + 1);
  EXPECT_EQ(x50r->page, 13);
  EXPECT_EQ(x50r->part, PagePart::FirstHalf);
  EXPECT_EQ(x50c.fileName, "x50c.tag");
  EXPECT_EQ(x50c.bank(), 27);
  EXPECT_EQ(x50c.recordPage, 25);
  EXPECT_TRUE(x50c.checkHardwareType);
}

TEST(PageSequences, TimFilesAreNumberedByBank) {
  const auto sequence = buildPageSequence(
      {.model = TIM, .link = LinkMode::Serial, .withCalibrationPage = true});
  for (const PageStep& step : sequence.steps) {
    SCOPED_TRACE(step.fileName);
    EXPECT_EQ(pageFileName(step.page * 2), step.fileName);
    EXPECT_EQ(step.recordPage, step.page * 2);
    EXPECT_EQ(step.checkHardwareType, step.fileName != "page6.tag");
    EXPECT_EQ(step.part, PagePart::Whole);
  }
}

}  // namespace
}  // namespace kad
