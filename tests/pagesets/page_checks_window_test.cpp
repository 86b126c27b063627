// The page checks and the personal data as the main window runs them: texts, dialogs, log.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>

#include "pagesets/page_file.h"
#include "shell/kad_main.h"
#include "support/kad_harness.h"
#include "support/usb_fixture.h"

namespace kad {
namespace {

using test::KadHarness;

// A window past its first start, so no start-up question is asked.
TKadMain& started(KadHarness& h) {
  h.writeFile("DORN.ini", "[Config]\nLanguage=English\n[Atualiza]\nAutomatico=N?o\n");
  return h.start();
}

std::string lastLine(const KadHarness& h) { return h.log().empty() ? std::string() : h.log().back(); }

void writeText(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

// The last `count` lines of the log.
std::vector<std::string> lastLines(const KadHarness& h, std::size_t count) {
  const auto log = h.log();
  return {log.end() - static_cast<std::ptrdiff_t>(std::min(count, log.size())), log.end()};
}

TEST(LoadPageFileWindow, LogsAroundTheLoadAndStepsTheBarOncePerRecord) {
  KadHarness h;
  TKadMain& main = started(h);
  main.linkMode = LinkMode::Serial;
  std::vector<std::uint16_t> words(24);  // three records of the test files' eight words at most
  std::iota(words.begin(), words.end(), std::uint16_t{0x100});
  const auto file = h.dir.path() / "pages" / "page3.tag";
  writeText(file, unitsim::pageFileText(0x8000, words));
  std::vector<int> positions;
  main.form.addObserver([&](ui::Control& control, ui::Property property) {
    if (control.name() == "ProgressAtual" && property == ui::Property::Position) positions.push_back(control.position());
  });

  ASSERT_TRUE(main.LoadPageFile(file));
  EXPECT_EQ(main.pageImage.words, words);
  EXPECT_EQ(main["ProgressAtual"].max(), 3);
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(lastLines(h, 2), (std::vector<std::string>{"Opening page3.tag...", "page3.tag opened."}));
  EXPECT_TRUE(h.dialogs.shown().empty());
}

TEST(LoadPageFileWindow, LoadAddressX50rFlagAndUsbRecordFollowTheFileAndTheLink) {
  struct Case {
    bool inProgramDir;
    const char* name;
    LinkMode link;
    bool addressTaken;
    bool x50r;
  };
  const Case cases[] = {
      {true, "user.tag", LinkMode::Serial, true, false},     {true, "bootgra.tag", LinkMode::Ethernet, true, false},
      {true, "user.tag", LinkMode::USB, false, false},       {false, "user.tag", LinkMode::Serial, false, false},
      {false, "x50r.tag", LinkMode::USB, false, true},       {false, "X50R.TAG", LinkMode::Serial, false, false},
  };
  KadHarness h;
  TKadMain& main = started(h);
  main.usb.unitDriveRoot = h.dir.path() / "unit";
  const auto exchangeFile = main.usb.unitDriveRoot / "firmware.bin";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.inProgramDir ? " in the program folder, link " : " in a page set, link ") +
                 std::to_string(static_cast<int>(c.link)));
    writeText(exchangeFile, std::string(4096, '\0'));
    const auto file = (c.inProgramDir ? h.programDir() : h.dir.path() / "pages" / "") / c.name;
    writeText(file, unitsim::pageFileText(0x8000, {0x0A0B, 0x0C0D}));  // its header's load address is 0x8000
    main.linkMode = c.link;
    main.pageImage.loadAddress = 0x1234;
    main.pageSet.x50rLoaded = false;

    ASSERT_TRUE(main.LoadPageFile(file));
    EXPECT_EQ(main.pageImage.loadAddress, c.addressTaken ? 0x8000 : 0x1234);
    EXPECT_EQ(main.pageSet.x50rLoaded, c.x50r);
    const std::string name = c.name;
    std::vector<std::string> expected = {"Opening " + name + "...", name + " opened."};
    // On USB the page goes out as a record of the exchange file between the two lines.
    if (c.link == LinkMode::USB) expected.insert(expected.begin() + 1, "Page " + name + " successfully sent.");
    EXPECT_EQ(lastLines(h, expected.size()), expected);
    std::ifstream record(exchangeFile, std::ios::binary);
    EXPECT_EQ(record.get(), c.link == LinkMode::USB ? 0xF0 : 0x00);
  }
}

TEST(LoadPageFileWindow, UnreadableOrMalformedFileEndsTheConnection) {
  const std::string good = unitsim::pageFileText(0x8000, {1, 2, 3});
  struct Case {
    const char* what;
    std::optional<std::string> text;  // none: the file is missing
  };
  const Case cases[] = {
      {"missing", std::nullopt},
      {"no end token", good.substr(0, good.rfind(':'))},
      {"token too long", "K0000PAGEXTAG98000B" + std::string(100, '1') + "7F00F\n:\n"},
      {"record without the '7' tag", "K0000PAGEXTAG98000B1234B5678BF00F\n:\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KadHarness h;
    TKadMain& main = started(h);
    main.linkMode = LinkMode::Serial;
    main.pageImage.words = {7, 7, 7};
    // As a connection leaves the window.
    main.connection.connectionClosed = false;
    main["ButIniciar"].setEnabled(false);
    main["ButCancelar"].setEnabled(true);
    const auto file = h.dir.path() / "pages" / "page4.tag";
    if (c.text) writeText(file, *c.text);
    const std::string message = "Error opening " + file.string() + "!";
    h.dialogs.expectMessage(message);

    EXPECT_FALSE(main.LoadPageFile(file));
    ASSERT_EQ(h.dialogs.shown().size(), 1u);
    EXPECT_EQ(h.dialogs.shown()[0].title, "Error");
    EXPECT_EQ(h.dialogs.shown()[0].text, message);
    EXPECT_EQ(lastLines(h, 2), (std::vector<std::string>{"Opening page4.tag...", message}));
    EXPECT_TRUE(main.pageImage.words.empty());
    EXPECT_TRUE(main.connection.connectionClosed);
    EXPECT_TRUE(main["ButIniciar"].enabled());
    EXPECT_FALSE(main["ButCancelar"].enabled());
  }
}

TEST(CheckPageSetForUnitWindow, ChecksPageZeroOfThePageSet) {
  struct Case {
    EquipmentModel model;
    std::uint16_t code;
    std::uint16_t format;
    bool passes;
    bool newerBox;
  };
  const Case cases[] = {
      {EquipmentModel::E1, 202, 6, true, false},  {EquipmentModel::E1, 200, 0, true, false},
      {EquipmentModel::E1, 200, 7, false, true},  {EquipmentModel::T1, 201, 1, false, false},
      {EquipmentModel::T1, 201, 2, true, false},  {EquipmentModel::DSL2, 300, 0, false, false},
  };
  KadHarness h;
  TKadMain& main = started(h);
  main.linkMode = LinkMode::Serial;
  main.pageSet.pageSetDir = h.dir.path() / "pages";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.model)) + " code " + std::to_string(c.code) + " format " +
                 std::to_string(c.format));
    main.currentModel = c.model;
    main.unitIdentity.FamilyCode202 = c.code != 202;  // the check must set or clear it
    std::vector<std::uint16_t> words(20, 0);
    words[kEquipmentCodeWord] = c.code;
    words[kFormatVersionWord] = c.format;
    writeText(main.pageSet.pageSetDir / "page0.tag", unitsim::pageFileText(0x8000, words));
    const auto boxes = h.dialogs.shown().size();
    if (c.newerBox) h.dialogs.expectMessage(main.text(TextId::MsgPagesNewerThanProgram));

    EXPECT_EQ(main.CheckPageSetForUnit(), c.passes);
    EXPECT_EQ(h.log().back(), "page0.tag opened.");
    EXPECT_EQ(h.dialogs.shown().size(), boxes + (c.newerBox ? 1 : 0));
    if (c.newerBox) {
      EXPECT_EQ(h.dialogs.shown().back().title, "Error");
    }
    if (c.model == EquipmentModel::E1 && c.passes) {
      EXPECT_EQ(main.unitIdentity.FamilyCode202, c.code == 202);
    }
  }
}

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
