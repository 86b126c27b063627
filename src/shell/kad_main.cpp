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

TKadMain::~TKadMain() = default;

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
  languageForm["ButOK"].onClick = [this] { languageButOKClick(); };
  languageForm["ButCancelar"].onClick = [this] { languageButCancelarClick(); };
}

}  // namespace kad
