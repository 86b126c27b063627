#include <gtest/gtest.h>

#include <cstdlib>

#include "link/link_selection.h"
#include "shell/config_keys.h"
#include "support/kad_harness.h"

namespace kad {
namespace {

using test::KadHarness;
using enum EquipmentModel;

std::string storedUnit(const KadHarness& h) {
  return platform::IniFile(h.programDir() / "KAD.ini").readString("Config", "Unit", "");
}
std::string storedMode(const KadHarness& h) {
  return platform::IniFile(h.programDir() / "KAD.ini").readString("Config", "Mode", "");
}

TEST(ModelSelection, StartUpLeavesE1AndUsbSelected) {
  for (const char* language : {"English", "Portuguese"}) {
    KadHarness h;
    auto& m = h.startIdle(language);
    EXPECT_EQ(m.currentModel.load(), E1);
    EXPECT_TRUE(m["RadioE1"].checked());
    EXPECT_TRUE(m["RadioUSB"].checked());
    EXPECT_EQ(m.linkMode.load(), LinkMode::USB);
    EXPECT_EQ(storedUnit(h), "RQV527E1") << language;
    EXPECT_EQ(storedMode(h), "USB");
  }
}

TEST(ModelSelection, OutOfRangeCodesSelectE1) {
  KadHarness h;
  auto& m = h.startIdle();
  m.selectModel(TP);
  m.selectModel(static_cast<EquipmentModel>(13));
  EXPECT_EQ(m.currentModel.load(), E1);
  EXPECT_TRUE(m["RadioE1"].checked());
  EXPECT_EQ(storedUnit(h), "RQV527E1");
}

// The link modes each model offers, and where each selected mode ends up.
TEST(ModelSelection, LinkModesFollowTheModel) {
  struct Case {
    EquipmentModel model;
    bool serial, ethernet, usb;
    LinkMode fromSerial, fromEthernet, fromUsb;
  };
  using enum LinkMode;
  const Case cases[] = {
      {E1, true, true, true, Serial, Ethernet, USB},        {T1, true, true, false, Serial, Ethernet, Serial},
      {TIM, true, false, true, Serial, Serial, USB},        {TIMSK, true, false, true, Serial, Serial, USB},
      {DSL2, true, true, false, Serial, Ethernet, Serial},  {TP, false, true, false, Ethernet, Ethernet, Ethernet},
      {OPM, false, false, true, USB, USB, USB},             {OTDR, false, false, true, USB, USB, USB},
      {OTDR160, false, false, true, USB, USB, USB},         {OTDR170, false, false, true, USB, USB, USB},
      {CATV, false, false, true, USB, USB, USB},            {MEGOMETRO, false, false, true, USB, USB, USB},
      {CPU206, false, false, true, USB, USB, USB},
  };
  const char* radios[] = {"RadioEthernet", "RadioSerial", "RadioUSB"};
  const char* names[] = {"Ethernet", "Serial", "USB"};
  for (const Case& c : cases) {
    for (LinkMode start : {Serial, Ethernet, USB}) {
      SCOPED_TRACE("model " + std::to_string(static_cast<int>(c.model)) + " from " + names[static_cast<int>(start)]);
      KadHarness h("Engenharia");
      auto& m = h.startIdle();
      m[radios[static_cast<int>(start)]].setChecked(true);
      m.selectModel(c.model);
      EXPECT_EQ(m["RadioSerial"].enabled(), c.serial);
      EXPECT_EQ(m["RadioEthernet"].enabled(), c.ethernet);
      EXPECT_EQ(m["RadioUSB"].enabled(), c.usb);
      const LinkMode expected = start == Serial ? c.fromSerial : start == Ethernet ? c.fromEthernet : c.fromUsb;
      EXPECT_EQ(m.linkMode.load(), expected);
      EXPECT_TRUE(m[radios[static_cast<int>(expected)]].checked());
      EXPECT_EQ(storedMode(h), names[static_cast<int>(expected)]);
    }
  }
}

TEST(ModelSelection, TimUnderEthernetRunsTheSerialSetupOnce) {
  KadHarness h;
  auto& m = h.startIdle();
  m["RadioEthernet"].setChecked(true);
  int serialRuns = 0;
  auto serial = m["RadioSerial"].onClick;
  m["RadioSerial"].onClick = [&] {
    ++serialRuns;
    serial();
  };
  m.selectModel(TIM);
  EXPECT_EQ(serialRuns, 1);
  EXPECT_TRUE(m["GroupCOM"].visible());
  // Selecting it again re-applies the selected mode, once.
  m["RadioTIM"].click();
  EXPECT_EQ(serialRuns, 2);
}

TEST(ModelSelection, FieldLayoutLabelsAndPositions) {
  struct Case {
    EquipmentModel model;
    std::vector<std::pair<const char*, std::string>> fields;  // edit, label text; top to bottom
    int clientLength;
    const char* especial;
  };
  const Case cases[] = {
      {T1, {{"EditCPU", "CPU"}, {"EditEquip", "TSET"}, {"EditBateria", "BATERY"}}, 16, "Sync Time/ Date"},
      {DSL2, {{"EditCPU", "CPU"}, {"EditEquip", "SLIVER"}, {"EditBateria", "BATERY"}}, 16, "Sync Time/ Date"},
      {TP,
       {{"EditDisplay", "DISPLAY"}, {"EditEquip", "BASE"}, {"EditCPU", "CPU"}, {"EditSliver", "SLIVER"},
        {"EditBateria", "BATERY"}},
       16,
       "Sync Time/ Date"},
      {OPM, {{"EditEquip", "LPC"}}, 13, "Sync Time/ Date"},
      {OTDR170, {{"EditEquip", "LPC"}, {"EditSliver", "OTDR"}}, 13, "Sync Time/ Date"},
      {CATV, {{"EditEquip", "LPC"}, {"EditSliver", "CATV"}}, 13, "Sync Time/ Date"},
      {MEGOMETRO, {{"EditEquip", "LPC"}, {"EditSliver", "MEGOHM"}}, 13, "Sync Time/ Date"},
      {TIM, {{"EditCPU", "CPU"}, {"EditEquip", "TIM"}, {"EditBateria", "BATERY"}}, 16, "Unlock Flash"},
  };
  const int labelTops[] = {17, 36, 56, 76, 95};
  const int fieldTops[] = {15, 35, 55, 74, 93};
  const std::pair<const char*, const char*> all[] = {{"EditCPU", "lblCPU"}, {"EditEquip", "lblEQUIP"},
                                                     {"EditBateria", "lblBAT"}, {"EditDisplay", "lblDISPLAY"},
                                                     {"EditSliver", "lblSLIVER"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("model " + std::to_string(static_cast<int>(c.model)));
    KadHarness h;
    auto& m = h.startIdle();
    m.selectModel(CPU206);  // hides everything first, so the selection must show it again
    m.selectModel(c.model);
    for (const auto& [edit, label] : all) {
      auto shown = std::find_if(c.fields.begin(), c.fields.end(), [&](const auto& f) { return f.first == std::string(edit); });
      EXPECT_EQ(m[edit].visible(), shown != c.fields.end()) << edit;
      EXPECT_EQ(m[label].visible(), shown != c.fields.end()) << label;
      if (shown == c.fields.end()) continue;
      const auto row = shown - c.fields.begin();
      EXPECT_EQ(m[label].caption(), shown->second) << label;
      EXPECT_EQ(m[label].bounds().top, labelTops[row]) << label;
      EXPECT_EQ(m[edit].bounds().top, fieldTops[row]) << edit;
      EXPECT_EQ(m[edit].tabOrder(), row) << edit;
    }
    for (const char* client : {"EditNomeCliente", "MaskNSerie", "EditTipoHard", "Label4", "Label5", "lblTipoHard"}) {
      EXPECT_TRUE(m[client].visible()) << client;
    }
    EXPECT_EQ(m["EditNomeCliente"].maxLength(), c.clientLength);
    EXPECT_EQ(m["ButEspecial"].caption(), c.especial);
  }

  KadHarness h;
  auto& m = h.startIdle();
  m.selectModel(CPU206);
  for (const char* name : {"EditNomeCliente", "MaskNSerie", "EditTipoHard", "Label4", "Label5", "lblTipoHard",
                           "EditCPU", "EditEquip", "EditBateria", "EditDisplay", "EditSliver", "lblCPU", "lblEQUIP",
                           "lblBAT", "lblDISPLAY", "lblSLIVER"}) {
    EXPECT_FALSE(m[name].visible()) << name;
  }
  EXPECT_TRUE(m["chkAllPages"].checked());
}

// Option boxes and fields after selecting a model, per profile. Enabled states: E enabled,
// D disabled; check states: x checked, o unchecked; '.' not judged.
TEST(ModelSelection, OptionStatesPerProfile) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    LinkMode link;
    // chkApagar chkAllPages chkPageX chkLoader chkGravComPagCalib chkDataHora chkSincDataHora chkSelModulos
    const char* enabled;
    const char* checked;
    // EditTipoHard EditCPU EditEquip EditBateria EditDisplay EditSliver EditNomeCliente
    const char* fields;
    bool botaoZ;
    char especial;  // ButEspecial: x shown, o hidden, '.' not judged
  };
  using enum LinkMode;
  const Case cases[] = {
      // The link handlers run after the profile's states: USB takes the loader away and offers
      // the date/time box to the E1 family, a serial link takes the date/time box away.
      {"Engenharia", E1, USB, "DEEDDEDE", "oooooooo", "DEEEDDE", true, '.'},
      {"TesteProducao", E1, Serial, "DEEEDDDE", "oooooooo", "DEEEDDE", true, '.'},
      {"Engenharia", T1, Serial, "DEEEDEDE", "oooooooo", "DEEEDDE", false, '.'},  // T1 re-applies no link
      {"Engenharia", TIM, Serial, "DEEEEDDE", "oooooooo", "DEEEDDE", true, 'x'},
      {"Engenharia", TIMSK, USB, "DEEDEEDE", "oooooooo", "DEEEDDE", false, 'x'},
      {"Engenharia", DSL2, Serial, "DEEEDDDE", "oooooooo", "DEEEDDE", false, '.'},
      {"Engenharia", TP, Ethernet, "DDDDDDEE", "oxoooooo", "DEEEEEE", false, '.'},
      {"Engenharia", OPM, USB, "DDDDEDDE", "oxoooooo", "EDEDDDE", false, '.'},
      {"Engenharia", CATV, USB, "DDDDEDDE", "oxoooooo", "EDEDDEE", false, '.'},
      {"Engenharia", CPU206, USB, "DDDDDDDE", "oxoooooo", ".DDDDDE", false, '.'},
      {"RG", TIM, Serial, "DEEEEDDE", "oxoooooo", "DEEEDDE", true, 'x'},
      {"RG", OPM, USB, "DDDDDDDE", "oxoooooo", "EDEDDDE", false, 'o'},
      {"RG", E1, USB, "DDDDDEDE", "oxoooooo", "DDDDDDD", false, 'o'},
      {"RG", DSL2, Serial, "DDDDDDDD", "oxoooooo", "DDDDDDD", false, 'o'},
      {"Cliente", E1, USB, "EEDDDEDE", "oxoooooo", "DDDDDDD", false, '.'},
      {"Cliente", E1, Ethernet, "EEDDDDEE", "oxoooooo", "DDDDDDD", false, '.'},
      {"NEB", T1, Serial, "EDDDDDDE", "oxoooooo", "DDDDDDD", false, '.'},
      {"NEB", T1, Ethernet, "EDDDDDEE", "oxoooooo", "DDDDDDD", false, '.'},
      {"Cliente", DSL2, Serial, "EEDDDDDD", "oxoooooo", "DDDDDDD", false, '.'},
      {"Cliente", TP, Ethernet, "EEDDDDED", "oxoooooo", "DDDDDDD", false, '.'},
      {"Cliente", CATV, USB, ".EDDD.DD", "oxoooooo", "DDDDDDD", false, '.'},
  };
  const char* boxes[] = {"chkApagar", "chkAllPages", "chkPageX", "chkLoader", "chkGravComPagCalib", "chkDataHora",
                         "chkSincDataHora", "chkSelModulos"};
  const char* fields[] = {"EditTipoHard", "EditCPU", "EditEquip", "EditBateria", "EditDisplay", "EditSliver",
                          "EditNomeCliente"};
  const char* radios[] = {"RadioEthernet", "RadioSerial", "RadioUSB"};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile) + " model " + std::to_string(static_cast<int>(c.model)) + " link " +
                 std::to_string(static_cast<int>(c.link)));
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    if (c.model != E1) m.selectModel(TIM);  // start from another model's states
    m[radios[static_cast<int>(c.link)]].setChecked(true);
    m.selectModel(c.model);
    for (int i = 0; i < 8; ++i) {
      if (c.enabled[i] != '.') {
        EXPECT_EQ(m[boxes[i]].enabled(), c.enabled[i] == 'E') << boxes[i];
      }
      if (c.checked[i] != '.') {
        EXPECT_EQ(m[boxes[i]].checked(), c.checked[i] == 'x') << boxes[i] << " checked";
      }
    }
    for (int i = 0; i < 7; ++i) {
      if (c.fields[i] != '.') {
        EXPECT_EQ(m[fields[i]].enabled(), c.fields[i] == 'E') << fields[i];
      }
    }
    EXPECT_EQ(m["botaoZ"].visible(), c.botaoZ);
    if (c.botaoZ) {
      EXPECT_TRUE(m["botaoZ"].enabled());
    }
    if (c.especial != '.') {
      EXPECT_EQ(m["ButEspecial"].visible(), c.especial == 'x');
    }
    EXPECT_FALSE(m["GroupOpcoes"].visible());
    EXPECT_FALSE(m["GroupBoxExtras"].visible());
  }
}

TEST(ModelSelection, TheHardwareTypeIsClearedForTheLineTestersInTheServiceBuilds) {
  KadHarness h("Engenharia");
  auto& m = h.startIdle();
  m["EditTipoHard"].setText("PF");
  m.selectModel(DSL2);
  EXPECT_EQ(m["EditTipoHard"].text(), "");
  EXPECT_FALSE(m["EditTipoHard"].enabled());
}

// ---- Option interlocks ----------------------------------------------------------------------

TEST(OptionInterlocks, OnePageAllPagesAndLoaderExcludeEachOther) {
  KadHarness h("Engenharia");
  auto& m = h.startIdle();
  m["RadioSerial"].setChecked(true);
  m.selectModel(E1);
  m["chkPageX"].click();
  EXPECT_TRUE(m["chkPageX"].checked());
  EXPECT_FALSE(m["chkAllPages"].checked());
  EXPECT_FALSE(m["chkAllPages"].enabled());
  EXPECT_FALSE(m["chkLoader"].enabled());
  EXPECT_TRUE(m["EditPag"].enabled());
  EXPECT_TRUE(m["chkApagar"].enabled());

  m["chkPageX"].click();  // unchecked on a serial link
  EXPECT_TRUE(m["chkLoader"].enabled());
  EXPECT_TRUE(m["chkAllPages"].enabled());
  EXPECT_FALSE(m["EditPag"].enabled());
  EXPECT_FALSE(m["chkApagar"].enabled());

  m["chkAllPages"].click();
  EXPECT_FALSE(m["chkLoader"].enabled());
  EXPECT_FALSE(m["chkPageX"].enabled());
  EXPECT_TRUE(m["chkApagar"].enabled());
  m["chkAllPages"].click();
  EXPECT_TRUE(m["chkPageX"].enabled());
  EXPECT_TRUE(m["chkLoader"].enabled());

  m["chkLoader"].click();
  for (const char* name : {"EditNomeCliente", "MaskNSerie", "EditCPU", "EditSliver", "EditTipoHard", "chkPageX",
                           "chkAllPages", "chkGravComPagCalib", "chkApagar"}) {
    EXPECT_FALSE(m[name].enabled()) << name;
  }
  m["chkLoader"].click();
  for (const char* name : {"EditNomeCliente", "MaskNSerie", "EditCPU", "EditSliver", "chkPageX", "chkAllPages"}) {
    EXPECT_TRUE(m[name].enabled()) << name;
  }
  EXPECT_FALSE(m["chkGravComPagCalib"].enabled());  // E1 has no calibration page to write
}

TEST(OptionInterlocks, PageNumberIsZeroToTwenty) {
  struct Case {
    const char* text;
    const char* message;  // none: accepted
  };
  for (const Case& c : {Case{"0", nullptr}, Case{"20", nullptr}, Case{"7", nullptr}, Case{"21", "Invalid page number"},
                        Case{"99", "Invalid page number"}, Case{"", "fill in a page number"},
                        Case{"A1", "Invalid page number"}, Case{"-1", "Invalid page number"}}) {
    KadHarness h("Engenharia");
    auto& m = h.startIdle();
    auto& field = m["EditPag"];
    field.setText(c.text);
    if (c.message) h.dialogs.expectMessage(c.message);
    field.userExit();
    EXPECT_EQ(field.focused(), c.message != nullptr) << c.text;
    EXPECT_TRUE(h.dialogs.allAnswered()) << c.text;
  }
}

TEST(OptionInterlocks, CalibrationFileMustBeABinFile) {
  struct Case {
    std::optional<std::string> chosen;
    bool invalid;
    bool kept;
  };
  for (const Case& c : {Case{"/cal/otdr.BIN", false, true}, Case{"/cal/otdr.bin", false, true},
                        Case{"/cal/page.tag", true, false}, Case{"/cal/bin", true, false},
                        Case{std::nullopt, false, false}}) {
    const std::string name = c.chosen.value_or("(cancelled)");
    KadHarness h("Engenharia");
    auto& m = h.startIdle();
    m.selectModel(OTDR);
    m.calibrationFile[static_cast<int>(OTDR)] = "/old/path.bin";
    h.dialogs.expectMessage("calibration file's path");
    h.dialogs.expectOpenFile(c.chosen);
    if (c.invalid) h.dialogs.expectMessage("Invalid file");
    m["chkGravComPagCalib"].click();
    EXPECT_EQ(m["chkGravComPagCalib"].checked(), c.kept) << name;
    EXPECT_EQ(m.calibrationFile[static_cast<int>(OTDR)], c.kept ? *c.chosen : "") << name;
    EXPECT_TRUE(h.dialogs.allAnswered()) << name;
  }
}

TEST(OptionInterlocks, CalibrationPageForTheLineTestersLocksTheOtherOptions) {
  KadHarness h("Engenharia");
  auto& m = h.startIdle();
  m["RadioSerial"].setChecked(true);
  m.selectModel(TIM);
  m["chkGravComPagCalib"].click();
  for (const char* name : {"chkLoader", "chkAllPages", "chkPageX", "chkApagar"}) EXPECT_FALSE(m[name].enabled()) << name;
  m["chkGravComPagCalib"].click();
  for (const char* name : {"chkLoader", "chkAllPages", "chkPageX"}) EXPECT_TRUE(m[name].enabled()) << name;
}

TEST(OptionInterlocks, CatvLineupFile) {
  KadHarness h;
  auto& m = h.startIdle();
  m.selectModel(CATV);
  auto& box = m["chkSelModulos"];
  EXPECT_EQ(box.caption(), "Update line-up");
  box.setEnabled(true);
  h.dialogs.expectMessage("line-up");
  h.dialogs.expectOpenFile("/units/line-up.CSV");
  box.click();
  EXPECT_TRUE(box.checked());
  EXPECT_EQ(m.calibrationFile[static_cast<int>(CATV)], "/units/line-up.CSV");
  EXPECT_EQ(h.log().back(), "The unit's lineup will be updated in the next load process.");
  box.click();
  EXPECT_EQ(h.log().back(), "The unit will be updated normally.");

  h.dialogs.expectMessage("line-up");
  h.dialogs.expectOpenFile("/units/line-up.txt");
  h.dialogs.expectMessage("Invalid file");
  box.click();
  EXPECT_FALSE(box.checked());
  EXPECT_EQ(m.calibrationFile[static_cast<int>(CATV)], "");
}

// ---- Link-mode and port choices -------------------------------------------------------------

TEST(LinkChoice, SerialOffersThePortsWhoseDeviceExists) {
  KadHarness h("Engenharia");
  h.writeFile("tty3", "");
  for (int port = 1; port <= 8; ++port) {
    const std::string device = port == 3 ? (h.dir.path() / "tty3").string() : (h.dir.path() / "absent").string();
    setenv(("KAD_COM" + std::to_string(port)).c_str(), device.c_str(), 1);
  }
  auto& m = h.startIdle();
  m["RadioSerial"].setChecked(true);
  for (int port = 1; port <= 8; ++port) {
    unsetenv(("KAD_COM" + std::to_string(port)).c_str());
    EXPECT_EQ(m["RadioCOM" + std::to_string(port)].enabled(), port == 3) << port;
  }
  EXPECT_TRUE(m["GroupCOM"].visible());
  EXPECT_TRUE(m["chkLoader"].enabled());
  EXPECT_FALSE(m["chkDataHora"].enabled());
  EXPECT_EQ(storedMode(h), "Serial");

  m["RadioCOM3"].setChecked(true);
  EXPECT_EQ(m.comPort, 3);
  EXPECT_EQ(m.comPortName, "COM3");
  EXPECT_EQ(platform::IniFile(h.programDir() / "KAD.ini").readInteger("Config", "Port", 0), 3);
  EXPECT_EQ(comPortDevicePath(2), "/dev/ttyS1");
}

TEST(LinkChoice, EachModeSetsItsOptions) {
  struct Case {
    const char* profile;
    const char* radio;
    bool comShown, loader, dataHora, sincDataHora, eraseShown;
  };
  for (const Case& c : {Case{"Engenharia", "RadioEthernet", false, false, false, true, true},
                        Case{"Engenharia", "RadioUSB", false, false, true, false, true},
                        Case{"Cliente", "RadioSerial", true, false, false, false, false}}) {
    KadHarness h(c.profile);
    auto& m = h.startIdle();
    m["chkLoader"].setChecked(true);
    m["RadioSerial"].setChecked(true);
    m["ButApagaCampos"].setVisible(true);
    m[c.radio].click();
    SCOPED_TRACE(std::string(c.profile) + " " + c.radio);
    EXPECT_EQ(m["GroupCOM"].visible(), c.comShown);
    if (std::string(c.radio) != "RadioSerial") {
      EXPECT_FALSE(m["chkLoader"].checked());
    }
    EXPECT_EQ(m["chkDataHora"].enabled(), c.dataHora);
    EXPECT_EQ(m["chkSincDataHora"].enabled(), c.sincDataHora);
    EXPECT_EQ(m["ButApagaCampos"].visible(), c.eraseShown);
  }
}

}  // namespace
}  // namespace kad
