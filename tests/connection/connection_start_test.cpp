#include <gtest/gtest.h>

#include "support/usb_fixture.h"

namespace kad {
namespace {

using test::UsbFixture;

TEST(ConnectButton, PreChecksThatStopTheClickChangeAndLogNothing) {
  struct Case {
    const char* profile;
    EquipmentModel model;
    const char* option;  // ticked before the click
    bool loaderMode;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"Cliente", EquipmentModel::E1, nullptr, true, "This module is only available for serial connection"},
      {"Engenharia", EquipmentModel::DSL2, nullptr, false, "You must select one of the options."},
      {"Engenharia", EquipmentModel::E1, "chkApagar", false, "THE CALIBRATION IS GOING TO BE ERASED!"},
      {"Engenharia", EquipmentModel::TIMSK, "chkGravComPagCalib", false, "save the calibration page"},
      {"RG", EquipmentModel::TIM, "chkGravComPagCalib", false, "save the calibration page"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    UsbFixture f(c.profile);
    auto& m = f.start(c.model);
    if (c.option) m[c.option].setChecked(true);
    m.loaderMode = c.loaderMode;
    const auto before = f.h.log();
    f.h.dialogs.expectMessage(c.message, ui::Answer::No);
    m.ButIniciarClick();
    EXPECT_EQ(f.h.log(), before);
    EXPECT_TRUE(m["ButIniciar"].enabled());
    EXPECT_TRUE(m["RadioE1"].enabled());
  }
}

TEST(ConnectButton, LogHeaderAndLockedControls) {
  UsbFixture f;
  f.h.writeFile("KAD.ini", "[Config]\nPort=3\n");
  auto& m = f.start();
  m["ButPaginas"].onClick = [] {};
  f.plugIn();
  f.connect();
  const auto log = f.h.log();
  const auto header = std::find(log.begin() + 2, log.end(), "");
  ASSERT_NE(header, log.end());
  EXPECT_EQ(*(header + 1), "Unit: RQV527E1");
  EXPECT_EQ(*(header + 2), "Communication Mode: USB");  // no port line on USB
  EXPECT_EQ(*(header + 3), "KAD waiting. Connect the unit in the USB port!");
  for (const char* locked : {"RadioE1", "RadioFirmCpu206", "RadioSerial", "RadioUSB", "RadioCOM8", "Lingua1",
                             "chkSincDataHora", "chkSelModulos", "chkPageX", "chkAllPages", "EditPag"}) {
    EXPECT_FALSE(m[locked].enabled()) << locked;
  }
  EXPECT_TRUE(m["chkAllPages"].checked());
  EXPECT_EQ(m["ProgressTotal"].position(), 0);

  // "Cancelar" ends the connection and gives the controls back.
  m["ButCancelar"].click();
  f.expectIdleWindow();
  for (const char* model : {"RadioE1", "RadioFirmCpu206"}) EXPECT_TRUE(m[model].enabled()) << model;
  EXPECT_TRUE(m["Lingua1"].enabled());
  EXPECT_EQ(m["StringGrid"].rowCount(), 1);
  EXPECT_FALSE(m["StringGrid"].enabled());
  EXPECT_EQ(m["EditNomeCliente"].text(), "");
}

TEST(ConnectButton, SelectModulesOnE1WaitsForTheOperator) {
  UsbFixture f;
  auto& m = f.start();
  bool writeStarted = false;
  m["ButPaginas"].onClick = [&] { writeStarted = true; };
  m["chkSelModulos"].setChecked(true);
  f.plugIn();
  f.connect();
  EXPECT_FALSE(writeStarted);
  EXPECT_TRUE(m["ButPaginas"].enabled());
}

TEST(ConnectButton, EngineeringKeepsOperatorEditedFieldsAtTheEnd) {
  UsbFixture f("Engenharia");
  auto& m = f.start();
  m["chkAllPages"].setChecked(true);
  f.plugIn();
  f.connect();
  EXPECT_EQ(m["EditNomeCliente"].color(), ui::colors::Aqua);  // filled from the unit
  m["EditNomeCliente"].setColor(ui::colors::Lime);             // the operator edited it
  m.EndConnection();
  EXPECT_EQ(m["EditNomeCliente"].color(), ui::colors::Aqua);
  EXPECT_EQ(m["EditNomeCliente"].text(), "ACMETEL");
  EXPECT_EQ(m["EditTipoHard"].text(), "");  // cleared for E1 even here
  EXPECT_TRUE(m["chkAllPages"].enabled());
  f.expectIdleWindow();
  // Only the first end after a connect does the work.
  const auto lines = f.h.log().size();
  m.EndConnection();
  EXPECT_EQ(f.h.log().size(), lines);
}

}  // namespace
}  // namespace kad
