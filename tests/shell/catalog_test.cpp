#include "shell/catalog.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <set>
#include <string>
#include <thread>

namespace kad {
namespace {

using enum UiLanguage;

const CatalogSettings kSettings{"+55 11 5555-0101", "www.maker.example"};

struct Column {
  UiLanguage language;
  Brand brand;
};
constexpr std::array<Column, 4> kColumns{{{English, Brand::Dorn},
                                          {Portuguese, Brand::Dorn},
                                          {English, Brand::Neb},
                                          {Portuguese, Brand::Neb}}};

std::string freshText(TextId id, UiLanguage language, Brand brand) {
  Catalog catalog(kSettings);
  catalog.fill(language, brand);
  return catalog.text(id);
}

TEST(CatalogFill, EntryWithoutTextInTheColumnKeepsWhatItHeld) {
  Catalog catalog(kSettings);
  EXPECT_EQ(catalog.text(TextId::TitleError), "") << "entries start empty";

  catalog.fill(English, Brand::Dorn);
  EXPECT_EQ(catalog.text(TextId::MsgModuleNotInstalled), "") << "no English text after a fresh start";
  EXPECT_EQ(catalog.text(TextId::MsgUpdatingFilesMeg), "Updating the files for the RQV962M...");

  catalog.fill(Portuguese, Brand::Dorn);
  EXPECT_EQ(catalog.text(TextId::MsgModuleNotInstalled), "Módulo não instalado. Instale o módulo antes de habilitar");
  EXPECT_EQ(catalog.text(TextId::MsgUpdatingFilesMeg), "Updating the files for the RQV962M...")
      << "no Portuguese text: keeps the English one";
  EXPECT_EQ(catalog.text(TextId::TitleError), "Erro");

  catalog.fill(English, Brand::Dorn);
  EXPECT_EQ(catalog.text(TextId::MsgModuleNotInstalled), "Módulo não instalado. Instale o módulo antes de habilitar");
  EXPECT_EQ(catalog.text(TextId::TitleError), "Error");
}

TEST(CatalogFill, NebColumnsKeepTheOtherLanguageWhereTheyLackAText) {
  Catalog catalog(kSettings);
  catalog.fill(English, Brand::Neb);
  catalog.fill(Portuguese, Brand::Neb);
  EXPECT_EQ(catalog.text(TextId::CapModelOTDR160), "NEB466OTDR");
  EXPECT_EQ(catalog.text(TextId::CapModelTIM), "NEB638TIM");

  catalog.fill(English, Brand::Neb);
  EXPECT_EQ(catalog.text(TextId::MsgErrConnTIMSelT1),
            "ERRO! O equipamento conectado difere do selecionado.\nEquipamento conectado: NEB638TIM\n"
            "Equipamento selecionado: NEB527T1\nPor favor revise as configurações.");
}

struct TextCase {
  TextId id;
  UiLanguage language;
  Brand brand;
  std::string expected;  // "" where the column has no text
};

TEST(CatalogTexts, BrandColumnsFollowTheNebRuleWithItsExceptions) {
  const TextCase cases[] = {
      {TextId::CapMainTitle, English, Brand::Dorn, "KAD - Dorn Uploader - RQV527PU v"},
      {TextId::CapMainTitle, Portuguese, Brand::Dorn, "KAD - Dorn Uploader - RQV527PU v"},
      {TextId::CapMainTitle, English, Brand::Neb, "NEB-UP - NEB Uploader - RQV527PU v"},
      {TextId::CapMainTitle, Portuguese, Brand::Neb, "NEB-UP - NEB Uploader - RQV527PU v"},
      {TextId::CapModelE1, English, Brand::Dorn, "RQV527E1"},
      {TextId::CapModelE1, English, Brand::Neb, "NEB527T1"},
      {TextId::CapModelE1, Portuguese, Brand::Neb, "NEB527T1"},
      {TextId::CapModelTIMSK, Portuguese, Brand::Neb, "NEB638TIMsk"},
      {TextId::CapModelTPPlus, English, Brand::Neb, "NEB183TP+"},
      {TextId::CapModelOTDR150, Portuguese, Brand::Dorn, "RQV465-OTDR"},
      {TextId::CapModelOTDR150, Portuguese, Brand::Neb, ""},
      {TextId::CapModelOTDR160, English, Brand::Dorn, "RQV466OTDR"},
      {TextId::CapModelOTDR160, Portuguese, Brand::Dorn, "RQV466-OTDR"},
      {TextId::CapModelOTDR160, English, Brand::Neb, "NEB466OTDR"},
      {TextId::CapModelOTDR160, Portuguese, Brand::Neb, ""},
      {TextId::CapModelFirmware, English, Brand::Neb, "E1/TIM Firmware"},
      {TextId::CapModelFirmware, Portuguese, Brand::Neb, "Firmware E1/TIM"},
      {TextId::CapMenuProgramHelp, English, Brand::Neb, "Help of NEB-UP"},
      {TextId::CapMenuProgramHelp, Portuguese, Brand::Dorn, "Ajuda do KAD"},
      {TextId::MsgSendingVersion, English, Brand::Neb, "Sending NEB-UP software version..."},
      {TextId::MsgSendingVersion, Portuguese, Brand::Dorn, "Enviando versão de programa..."},
      {TextId::MsgSendingVersion, Portuguese, Brand::Neb, "Enviando versão de programa..."},
      {TextId::TxtProgramName, Portuguese, Brand::Neb, "NEB-UP"},
      {TextId::TxtProgramVersion, Portuguese, Brand::Neb, "NEB-UP versão: "},
      {TextId::MsgVersionIncompatible, English, Brand::Neb,
       "The NEB-UP version is incompatible with the firmware. Please update."},
      {TextId::MsgErrNotTP, Portuguese, Brand::Neb, "ERRO! O equipamento conectado não é o NEB183TP.\nAbortando operação..."},
      {TextId::MsgPagesNewerThanProgram, English, Brand::Dorn,
       "The version of the page files are superior then KAD's version, please call the DORN technical "
       "support(+55 11 5555-0101) and upgrade your KAD."},
      {TextId::MsgPagesNewerThanProgram, Portuguese, Brand::Neb,
       "Os arquivos de página são de uma versão superior ao NEB-UP, por favor ligue para a assitência técnica da "
       "NEB(???? ??? ???\?) e atualize o seu NEB-UP."},
      // Entries common to both brands keep the DORN names in the NEB build.
      {TextId::MsgWaitingUsb, English, Brand::Neb, "KAD waiting. Connect the unit in the USB port!"},
      {TextId::MsgErrNotSelectedCATV, English, Brand::Neb,
       "ERRO!\nThe selected unit isn't the RQV851CATV.\nOperation aborted..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(Catalog::identifier(c.id)) + (c.language == English ? " EN " : " PT ") +
                 (c.brand == Brand::Neb ? "NEB" : "DORN"));
    EXPECT_EQ(freshText(c.id, c.language, c.brand), c.expected);
  }
}

TEST(CatalogTexts, ContactDataAndLiteralsAreKeptExactly) {
  const TextCase cases[] = {
      {TextId::MsgSupportPhone, English, Brand::Dorn, "Support (Brazil): +55 11 5555-0101"},
      {TextId::MsgSupportPhone, Portuguese, Brand::Neb, "Suporte técnico: +55 11 5555-0101"},
      {TextId::TxtMakerWebAddress, Portuguese, Brand::Dorn, "www.maker.example"},
      {TextId::MsgCannotUpgradeNow, Portuguese, Brand::Dorn,
       "O equipamento não pode ser atualizado no momento!\n\nEntre em contato com nosso suporte técnico\n"
       "para mais detalhes: +55 11 5555-0101"},
      {TextId::MsgCannotUpgradeNow, English, Brand::Dorn,
       "The unit cannot be upgraded at the moment!\n\nPlease contact our technical support\nfor further details."},
      {TextId::MsgWasLoaded, English, Brand::Dorn, "  was loaded successfully."},
      {TextId::MsgOkSuffix, Portuguese, Brand::Dorn, " OK!"},
      {TextId::MsgDeviceFull, Portuguese, Brand::Dorn, "ERRO!\n Sem espaco na Flash."},
      {TextId::CapSerialNumber, Portuguese, Brand::Dorn, "NÚMERO DE SÉRIE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Catalog::identifier(c.id));
    EXPECT_EQ(freshText(c.id, c.language, c.brand), c.expected);
  }
}

TEST(CatalogTexts, ModelPairFamiliesAreBuiltPerColumn) {
  const TextCase cases[] = {
      {TextId::MsgAskConnE1SelT1, English, Brand::Dorn,
       "Connected unit: RQV527E1\nSelected unit: RQE527T1\nDo you wish to proceed?"},
      {TextId::MsgAskConnE1SelT1, Portuguese, Brand::Dorn,
       "Equipamento conectado: RQV527E1\nEquipamento selecionado: RQV527T1\nDeseja continuar?"},
      {TextId::MsgAskConnE1SelT1, English, Brand::Neb,
       "Connected unit: NEB527E1\nSelected unit: NEB527T1\nDo you wish to proceed?"},
      {TextId::MsgAskConnE1SelTIMSK, English, Brand::Dorn, ""},
      {TextId::MsgAskConnE1SelTIMSK, English, Brand::Neb,
       "Connected unit: NEB527E1\nSelected unit: NEB638TIMSK\nDo you wish to proceed?"},
      {TextId::MsgAskConnE1SelTIMSK, Portuguese, Brand::Neb, ""},
      {TextId::MsgAskConnUnknownSelDSL2, Portuguese, Brand::Dorn,
       "Equipamento conectado: Desconhecido\nEquipamento selecionado: RQV749DSL2+\nDeseja continuar?"},
      {TextId::MsgErrConnDSL2SelE1, English, Brand::Neb,
       "ERROR! The connected unit isn't the selected one.\nConnected unit: NEB749DSL2+\nSelected unit: NEB527T1\n"
       "Please check the setup."},
      {TextId::MsgErrConnDSL2SelE1, Portuguese, Brand::Neb,
       "ERRO! O equipamento conectado difere do selecionado.\nEquipamento conectado: NEB749DSL2+\n"
       "Equipamento selecionado: NEB527E1\nPor favor revise as configurações."},
      {TextId::MsgErrConnTIMSelTIMSK, English, Brand::Dorn, ""},
      {TextId::MsgErrConnTIMSelTIMSK, Portuguese, Brand::Dorn,
       "ERRO! O equipamento conectado difere do selecionado.\nEquipamento conectado: RQV638TIM\n"
       "Equipamento selecionado: RQV638TIMSK\nPor favor revise as configurações."},
      {TextId::MsgErrConnTIMSelTIMSK, Portuguese, Brand::Neb, ""},
      {TextId::MsgErrConnUnknownSelT1, English, Brand::Dorn,
       "ERROR! The connected unit isn't the selected one.\nConnected unit: Unknown\nSelected unit: RQE527T1\n"
       "Please check the setup."},
      {TextId::MsgErrConnUnknownSelT1, Portuguese, Brand::Dorn, ""},
      {TextId::MsgErrConnTPSelTIMSK, English, Brand::Dorn,
       "ERROR! The connected unit isn't the selected one.\nConnected unit: RQV183TP\nSelected unit: RQV638TIMsk\n"
       "Please check the setup."},
      {TextId::MsgErrConnTPPlusSelTIMSK, Portuguese, Brand::Neb,
       "ERRO! O equipamento conectado difere do selecionado.\nEquipamento conectado: NEB183TP+\n"
       "Equipamento selecionado: NEB638TIMsk\nPor favor revise as configurações."},
      {TextId::MsgAskOldFwE1, English, Brand::Neb, "The connected unit has an old firmware version.\nProceed with NEB527T1?"},
      {TextId::MsgAskOldFwT1, English, Brand::Dorn, "The connected unit has an old firmware version.\nProceed with RQE527T1?"},
      {TextId::MsgAskOldFwT1, English, Brand::Neb, ""},
      {TextId::MsgAskOldFwT1, Portuguese, Brand::Neb, "O equipamento conectado possui um software antigo.\nContinuar com NEB527T1?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(Catalog::identifier(c.id)) + (c.language == English ? " EN " : " PT ") +
                 (c.brand == Brand::Neb ? "NEB" : "DORN"));
    EXPECT_EQ(freshText(c.id, c.language, c.brand), c.expected);
  }
}

TEST(CatalogTexts, WrongUnitErrorsForOpmAndMegohmmeterDiffer) {
  for (const UiLanguage language : {English, Portuguese}) {
    Catalog catalog(kSettings);
    catalog.fill(language, Brand::Dorn);
    EXPECT_NE(catalog.text(TextId::MsgErrNotSelectedOPM), catalog.text(TextId::MsgErrNotSelectedMeg));
    EXPECT_NE(catalog.text(TextId::MsgErrNotSelectedMeg).find("RQV962M"), std::string::npos);
  }
}

// Reads the four columns of every entry from fresh catalogs.
std::array<std::array<std::string, 4>, kTextIdCount> allColumns() {
  std::array<std::array<std::string, 4>, kTextIdCount> texts;
  for (std::size_t column = 0; column < kColumns.size(); ++column) {
    Catalog catalog(kSettings);
    catalog.fill(kColumns[column].language, kColumns[column].brand);
    for (int i = 0; i < kTextIdCount; ++i) texts[i][column] = catalog.text(static_cast<TextId>(i));
  }
  return texts;
}

TEST(CatalogTable, EveryEntryHasATextInSomeColumn) {
  const auto texts = allColumns();
  for (int i = 0; i < kTextIdCount; ++i) {
    const auto& columns = texts[i];
    const bool hasText = std::any_of(columns.begin(), columns.end(), [](const std::string& t) { return !t.empty(); });
    EXPECT_TRUE(hasText) << Catalog::identifier(static_cast<TextId>(i));
  }
}

TEST(CatalogTable, OnlyBrandEntriesAndFamiliesDifferBetweenBrands) {
  const std::set<std::string_view> brandEntries = {
      "CapMainTitle",        "TxtProgramName",           "TxtProgramVersion",  "MsgVersionIncompatible",
      "MsgCommFailedVersion", "MsgSendingVersion",       "MsgErrNotTP",        "MsgPagesNewerThanProgram",
      "CapMenuProgramHelp"};
  const auto isBrandEntry = [&](std::string_view name) {
    return brandEntries.contains(name) || name.starts_with("CapModel") || name.starts_with("MsgAskConn") ||
           name.starts_with("MsgErrConn") || name.starts_with("MsgAskOldFw");
  };
  const auto texts = allColumns();
  int modelCaptions = 0;
  for (int i = 0; i < kTextIdCount; ++i) {
    const std::string_view name = Catalog::identifier(static_cast<TextId>(i));
    SCOPED_TRACE(name);
    const auto& t = texts[i];
    const bool differs = t[0] != t[2] || t[1] != t[3];
    if (name.starts_with("CapModel")) ++modelCaptions;
    if (isBrandEntry(name)) {
      EXPECT_TRUE(differs);
    } else {
      EXPECT_FALSE(differs);
    }
  }
  EXPECT_EQ(modelCaptions, 14);
}

TEST(CatalogTable, IdentifiersRoundTrip) {
  std::set<std::string_view> seen;
  for (int i = 0; i < kTextIdCount; ++i) {
    const auto id = static_cast<TextId>(i);
    const std::string_view name = Catalog::identifier(id);
    EXPECT_TRUE(seen.insert(name).second) << "duplicate identifier " << name;
    EXPECT_EQ(Catalog::fromIdentifier(name), id) << name;
  }
  EXPECT_EQ(Catalog::identifier(TextId::MsgUnitPrefix), "MsgUnitPrefix");
  EXPECT_EQ(Catalog::fromIdentifier("MsgNoSuchText"), std::nullopt);
  EXPECT_EQ(Catalog::fromIdentifier(""), std::nullopt);
  EXPECT_EQ(Catalog::identifier(TextId::Count), "");
  EXPECT_EQ(Catalog::identifier(static_cast<TextId>(-1)), "");

  Catalog catalog(kSettings);
  catalog.fill(English, Brand::Dorn);
  EXPECT_EQ(catalog.text(static_cast<TextId>(kTextIdCount + 5)), "");
}

TEST(CatalogTable, ReadersSeeWholeTextsWhileTheLanguageChanges) {
  Catalog catalog(kSettings);
  catalog.fill(English, Brand::Dorn);
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!stop) {
      const std::string text = catalog.text(TextId::CapMenuHelp);
      if (text != "Help" && text != "Ajuda") ++torn;
    }
  });
  for (int round = 0; round < 200; ++round) catalog.fill(round % 2 == 0 ? Portuguese : English, Brand::Dorn);
  stop = true;
  reader.join();
  EXPECT_EQ(torn, 0);
}

// The caption a control gets, or Count when the fill leaves it alone.
TextId captionOf(ProfileKind profile, EquipmentModel model, std::string_view control) {
  for (const auto& [name, id] : mainWindowCaptions(profile, model)) {
    if (name == control) return id;
  }
  return TextId::Count;
}

TEST(MainWindowCaptions, ConditionsPickTheEntry) {
  using enum EquipmentModel;
  struct Case {
    ProfileKind profile;
    EquipmentModel model;
    std::string_view control;
    TextId expected;
  };
  const Case cases[] = {
      {ProfileClient, CATV, "chkSelModulos", TextId::CapUpdateLineup},
      {ProfileClient, E1, "chkSelModulos", TextId::CapSelectModules},
      {ProfileClient, static_cast<EquipmentModel>(99), "chkSelModulos", TextId::CapSelectModules},
      {ProfileClient, TIM, "ButEspecial", TextId::CapUnlockFlash},
      {ProfileNeb, TIMSK, "ButEspecial", TextId::CapUnlockFlash},
      {ProfileClient, DSL2, "ButEspecial", TextId::CapSyncDateTime},
      {ProfileEngineering, E1, "ButApagaCampos", TextId::CapEraseFields},
      {ProfileRG, TIM, "ButApagaCampos", TextId::CapEraseFields},
      {ProfileRG, TIMSK, "ButApagaCampos", TextId::CapSyncDateTime},
      {ProfileClient, TIM, "ButApagaCampos", TextId::CapSyncDateTime},
      {ProfileEngineering, E1, "Configura", TextId::Count},
      {ProfileEngineering, CATV, "Atualiz_sempre", TextId::Count},
      {ProfileRG, TIM, "Ver_atualiz", TextId::Count},
      {ProfileRG, E1, "Ver_atualiz", TextId::CapMenuVerify},
      {ProfileNeb, TIM, "Atualiz_Agora", TextId::CapMenuNow},
      {ProfileClient, OTDR, "RadioOTDR", TextId::Count},
      {ProfileClient, E1, "RadioButton1", TextId::Count},
      {ProfileClient, E1, "RadioFirmCpu206", TextId::CapModelFirmware},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " profile " + std::to_string(static_cast<int>(c.profile)) + " model " +
                 std::to_string(static_cast<int>(c.model)));
    EXPECT_EQ(captionOf(c.profile, c.model, c.control), c.expected);
  }
}

TEST(MainWindowCaptions, TableOrderWithoutTheTitle) {
  const auto captions = mainWindowCaptions(ProfileClient, EquipmentModel::E1);
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.front().first, "Lingua1");
  EXPECT_EQ(captions.back().first, "RadioFirmCpu206");
  for (const auto& [control, id] : captions) EXPECT_NE(id, TextId::CapMainTitle) << control;
  EXPECT_EQ(mainWindowCaptions(ProfileEngineering, EquipmentModel::E1).size(), captions.size() - 4);
}

TEST(ModelCaptions, EveryModelHasItsCatalogueName) {
  using enum EquipmentModel;
  struct Case {
    EquipmentModel model;
    TextId expected;
  };
  const Case cases[] = {
      {OPM, TextId::CapModelOPM},         {OTDR, TextId::CapModelOTDR150},   {OTDR160, TextId::CapModelOTDR160},
      {OTDR170, TextId::CapModelOTDR170}, {E1, TextId::CapModelE1},          {T1, TextId::CapModelT1},
      {TIM, TextId::CapModelTIM},         {TIMSK, TextId::CapModelTIMSK},    {DSL2, TextId::CapModelDSL2},
      {CATV, TextId::CapModelCATV},       {MEGOMETRO, TextId::CapModelMeg},  {TP, TextId::CapModelTP},
      {CPU206, TextId::CapModelFirmware}, {static_cast<EquipmentModel>(-3), TextId::CapModelE1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(modelCaptionId(c.model), c.expected) << static_cast<int>(c.model);
  }
}

}  // namespace
}  // namespace kad
