#include "shell/kad_main.h"

#include "shell/config_keys.h"
#include "shell/main_window_form.h"

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
  form["Lingua1"].onClick = [this] { Lingua1Click(); };
  form["RadioUSB"].onClick = [this] { RadioUSBClick(); };
  form["ButIniciar"].onClick = [this] { ButIniciarClick(); };
  form["ButCancelar"].onClick = [this] { ButCancelarClick(); };
  form["StringGrid"].onDblClick = [this] { StringGridDblClick(); };
  form["StringGrid"].onDrawCell = [this](int col, int row) { return StringGridDrawCell(col, row); };
  languageForm["ButOK"].onClick = [this] { languageButOKClick(); };
  languageForm["ButCancelar"].onClick = [this] { languageButCancelarClick(); };
}

}  // namespace kad
