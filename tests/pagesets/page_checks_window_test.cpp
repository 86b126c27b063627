// The page checks and the personal data as the main window runs them: texts, dialogs, log.
#include <gtest/gtest.h>

#include "pagesets/page_file.h"
#include "shell/kad_main.h"
#include "support/kad_harness.h"

namespace kad {
namespace {

using test::KadHarness;

// A window past its first start, so no start-up question is asked.
TKadMain& started(KadHarness& h) {
  h.writeFile("DORN.ini", "[Config]\nLanguage=English\n[Atualiza]\nAutomatico=N?o\n");
  return h.start();
}

std::string lastLine(const KadHarness& h) { return h.log().empty() ? std::string() : h.log().back(); }

void loadPageWithType(TKadMain& main, std::uint16_t type) {
  main.pageImage.words.assign(40, 0);
  main.pageImage.words[kHardwareTypeWord] = type;
}

TEST(CheckPageHardwareTypeWindow, RefusedMismatchForgetsTheFirmwareFolders) {
  KadHarness h("Cliente");
  h.writeFile("KAD.ini", "[Diretorios]\nDir0=/firmware/E1\n");
  TKadMain& main = started(h);
  ASSERT_TRUE(main.programIni().sectionExists("Diretorios"));
  main.pageChecks.unitHardwareType = 0x636E;
  main.pageChecks.unitHardwareTypeText = "nc";
  loadPageWithType(main, 0x6370);
  h.dialogs.expectMessage("pc\n");
  EXPECT_FALSE(main.CheckPageHardwareType());
  ASSERT_FALSE(h.dialogs.shown().empty());
  const auto box = h.dialogs.shown().back();
  EXPECT_EQ(box.title, main.text(TextId::TitleError));
  EXPECT_EQ(box.text, main.text(TextId::MsgImpossibleContinue) + main.text(TextId::MsgSoftwareForHw) + "pc\n" +
                          main.text(TextId::MsgUnitHwType) + "nc\n" + main.text(TextId::MsgCheckFolderHw));
  EXPECT_FALSE(main.programIni().sectionExists("Diretorios"));
}

TEST(CheckPageHardwareTypeWindow, OneAcceptedMismatchCoversLaterPages) {
  KadHarness h("Engenharia");
  TKadMain& main = started(h);
  main.pageChecks.unitHardwareType = 0x636E;
  main.pageChecks.unitHardwareTypeText = "nc";
  loadPageWithType(main, 0x0070);
  h.dialogs.expectMessage(main.text(TextId::MsgAskGoOn), ui::Answer::Yes);
  EXPECT_TRUE(main.CheckPageHardwareType());
  EXPECT_EQ(h.dialogs.shown().back().text, main.text(TextId::MsgSoftwareForHw) + "p\n" +
                                               main.text(TextId::MsgUnitHwType) + "nc\n\n" +
                                               main.text(TextId::MsgAskGoOn));
  loadPageWithType(main, 0x8B00);
  EXPECT_TRUE(main.CheckPageHardwareType());  // no second question
  EXPECT_EQ(h.dialogs.shown().size(), 1u);
}

TEST(CheckPageHardwareTypeWindow, AnsweringNoFails) {
  KadHarness h("Cliente");
  TKadMain& main = started(h);
  main.pageChecks.unitHardwareType = kOldHardwareType;
  main.pageChecks.unitHardwareTypeText = "OLD";
  loadPageWithType(main, 0x6370);
  h.dialogs.expectMessage(main.text(TextId::MsgAskGoOn), ui::Answer::No);
  EXPECT_FALSE(main.CheckPageHardwareType());
  EXPECT_FALSE(main.pageChecks.hardwareMismatchAccepted);
}

TEST(VerifyPageReadBackWindow, LogsTheVerdict) {
  KadHarness h;
  TKadMain& main = started(h);
  main.pageImage.words.assign(20, 0x1111);
  main.pageSet.currentPage = 15;
  main.personalData.moduleWord = 0x1534;
  main.pageChecks.readBackWords = main.pageImage.words;
  EXPECT_FALSE(main.VerifyPageReadBack(0));  // word 16 must be the module word
  EXPECT_EQ(lastLine(h), main.text(TextId::MsgFileCorrupted));
  main.pageChecks.readBackWords[16] = 0x1534;
  EXPECT_TRUE(main.VerifyPageReadBack(0));
  EXPECT_EQ(lastLine(h), main.text(TextId::MsgIntegrityOk));
  EXPECT_EQ(h.log()[h.log().size() - 2], main.text(TextId::MsgCheckingIntegrity));
}

TEST(PersonalDataWindow, ClientBlockFromTheWindowFields) {
  KadHarness h;
  TKadMain& main = started(h);
  main["EditNomeCliente"].setText("ACME");
  main["MaskNSerie"].setText("12.34.567");
  main["EditCPU"].setText("2");
  main["EditEquip"].setText("10");
  main["EditBateria"].setText("1");
  main.personalData.moduleSlots = {0, 2, 3, 4};
  main.moduleFlags[1] = main.moduleFlags[5] = true;
  main.personalData.unitWords128To136.fill(0x0202);
  EXPECT_EQ(main.BuildClientBlock(), 68u);
  EXPECT_EQ(main.clientBlock[0], 'A');
  EXPECT_EQ(main.clientBlock[27], 12);
  EXPECT_EQ(main.clientBlock[58], 0x0202);
  EXPECT_EQ(main.clientBlock[67], 0x1534);

  main["chkApagar"].setChecked(true);
  main.BuildClientBlock();
  EXPECT_EQ(main.clientBlock[58], 0xFFFF);

  main.BuildEthernetAddress();
  EXPECT_EQ(main.personalData.ethernetAddressWords[2], 0x8E28);
}

}  // namespace
}  // namespace kad
