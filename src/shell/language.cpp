// Filling the catalog, re-captioning the main window and the language dialog.
#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad {

void TKadMain::fillCatalog() {
  catalog_.fill(language_, brand_);
  form.root().setCaption(text(TextId::CapMainTitle) + config::kProgramVersion);
  for (const auto& [control, id] : mainWindowCaptions(profile_, currentModel)) form[control].setCaption(text(id));
}

void TKadMain::buildLanguageForm(ui::Form& dialog) {
  using ui::ControlKind;
  // The dialog's own texts are fixed and not translated.
  dialog.root().setBounds({0, 0, 250, 120});
  dialog.root().setCaption("Select your language");
  dialog.root().setVisible(false);
  dialog.add(ControlKind::RadioButton, "RadioPTBR", nullptr, {16, 16, 200, 17}, "Português (Brasil)");
  dialog.add(ControlKind::RadioButton, "RadioEnglish", nullptr, {16, 40, 200, 17}, "English");
  dialog.add(ControlKind::Button, "ButOK", nullptr, {40, 80, 75, 25}, "OK");
  dialog.add(ControlKind::Button, "ButCancelar", nullptr, {130, 80, 75, 25}, "Cancel");
}

void TKadMain::Lingua1Click() {
  languageForm["RadioEnglish"].setEnabled(true);
  languageForm["RadioPTBR"].setEnabled(true);
  languageForm[language_ == UiLanguage::English ? "RadioEnglish" : "RadioPTBR"].setChecked(true);
  languageForm.root().setVisible(true);
  form.root().setEnabled(false);
}

void TKadMain::languageButOKClick() {
  if (languageForm["RadioEnglish"].checked()) {
    brandIni().writeString(config::kConfig, config::kLanguage, "English");
    language_ = UiLanguage::English;
  } else if (languageForm["RadioPTBR"].checked()) {
    brandIni().writeString(config::kConfig, config::kLanguage, "Portuguese");
    language_ = UiLanguage::Portuguese;
  }
  languageForm.root().setVisible(false);
  fillCatalog();
  form.root().setEnabled(true);
}

void TKadMain::languageButCancelarClick() {
  languageForm.root().setVisible(false);
  form.root().setEnabled(true);
}

}  // namespace kad
