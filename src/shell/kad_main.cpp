#include "shell/kad_main.h"

#include "shell/config_keys.h"
#include "shell/main_window_form.h"

#include <string>

namespace kad {

TKadMain::TKadMain(std::string_view profileName, KadMainEnvironment environment)
    : env_(environment),
      profile_(profileFromName(profileName)),
      brand_(brandOf(profile_)),
      catalog_(CatalogSettings{KAD_SUPPORT_PHONE, KAD_WEB_ADDRESS}) {
  buildMainWindowForm(form);
  buildLanguageForm(languageForm);
  wireHandlers();
}

TKadMain::~TKadMain() {
  // An upload still running stops at its next look at the end flag; it is waited for while
  // everything it uses is still here.
  connection.connectionClosed = true;
  uploadThread.join();
}

std::string TKadMain::brandIniName() const {
  return brand_ == Brand::Neb ? config::kNebIniName : config::kDornIniName;
}

// Connects the controls' events to the operations of the subsystems.
void TKadMain::wireHandlers() {
  form["Atualiz_sempre"].onClick = [this] { Atualiz_sempreClick(); };
  form["Atualiz_Agora"].onClick = [this] { Atualiz_AgoraClick(); };
  startupUpdateCheck = [this] { Atualiz_AgoraClick(false); };
  form["Lingua1"].onClick = [this] { Lingua1Click(); };
  form["RadioUSB"].onClick = [this] { RadioUSBClick(); };
  form["ButIniciar"].onClick = [this] { ButIniciarClick(); };
  form["ButCancelar"].onClick = [this] { ButCancelarClick(); };
  stopAndReset = [this] { ButCancelarClick(); };
  form["StringGrid"].onDblClick = [this] { StringGridDblClick(); };
  form["StringGrid"].onDrawCell = [this](int col, int row) { return StringGridDrawCell(col, row); };
  form["RadioSerial"].onClick = [this] { RadioSerialClick(); };
  form["RadioEthernet"].onClick = [this] { RadioEthernetClick(); };
  for (int port = 1; port <= 8; ++port) {
    form["RadioCOM" + std::to_string(port)].onClick = [this, port] { RadioCOMClick(port); };
  }
  for (int code = 0; code < kModelCount; ++code) {
    const auto model = static_cast<EquipmentModel>(code);
    form[modelInfo(model).radio].onClick = [this, model] { selectModel(model); };
  }

  auto& log = form["ListStatus"];
  log.onDrawItem = [this](int index) { return ListStatusDrawItem(index); };
  log.onClick = [this] { ListStatusMouseUp(); };  // the mouse button released over a line
  log.onKeyDown = [this](ui::Key key, unsigned modifiers) { ListStatusKeyDown(key, modifiers); };
  form.onShortCut = [this](ui::Key key, unsigned modifiers) { return FormShortCut(key, modifiers); };
  form["ButSalvar"].onClick = [this] { ButSalvarClick(); };
  form["ButLimpar"].onClick = [this] { ButLimparClick(); };
  form["ButApagaCampos"].onClick = [this] { ButApagaCamposClick(); };
  for (const char* field : kOperatorFields) {
    form[field].onChange = [this, field] { operatorFieldChange(field); };
    form[field].onClick = [this, field] { operatorFieldClick(field); };
  }

  form["botaoZ"].onClick = [this] { botaoZClick(); };
  form["chkLoader"].onClick = [this] { chkLoaderClick(); };
  form["chkPageX"].onClick = [this] { chkPageXClick(); };
  form["chkAllPages"].onClick = [this] { chkAllPagesClick(); };
  form["chkGravComPagCalib"].onClick = [this] { chkGravComPagCalibClick(); };
  form["chkSelModulos"].onClick = [this] { chkSelModulosClick(); };
  form["EditPag"].onExit = [this] { EditPagExit(); };
  form["EditPag"].onClick = [this] { EditPagClick(); };
  form["ButPaginas"].onClick = [this] { ButPaginasClick(); };
  writePreparation.startUpload = [this] { startUploadThread(); };
  languageForm["ButOK"].onClick = [this] { languageButOKClick(); };
  languageForm["ButCancelar"].onClick = [this] { languageButCancelarClick(); };
}

}  // namespace kad
