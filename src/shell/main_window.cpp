// The status log, the progress labels, the operator fields, the shortcuts and the shared
// routines of the main window.
#include <cctype>
#include <fstream>

#include "shell/kad_main.h"
#include "shell/main_window_form.h"

namespace kad {
namespace {

using enum EquipmentModel;
namespace colors = ui::colors;

bool isOneOf(EquipmentModel model, std::initializer_list<EquipmentModel> models) {
  for (auto m : models) {
    if (m == model) return true;
  }
  return false;
}

// Whether the operator owns a typed value (lime) and whether the field may be edited at all.
struct FieldRules {
  bool lime;
  bool editable;
};

FieldRules fieldRules(const std::string& field, ProfileKind profile, EquipmentModel model) {
  if (profile == ProfileEngineering) {
    if (field == "EditTipoHard") {
      return {model == OPM || isOtdrModel(model) || model == CATV || model == MEGOMETRO, true};
    }
    return {true, true};
  }
  if (profile != ProfileRG) return {false, false};
  const bool tim = model == TIM;
  const bool timOrOpm = tim || model == OPM;
  if (field == "EditNomeCliente" || field == "MaskNSerie" || field == "EditCPU" || field == "EditTipoHard") {
    return {timOrOpm, timOrOpm};
  }
  if (field == "EditEquip") return {tim, timOrOpm};
  if (field == "EditSliver") return {false, tim};
  return {tim, tim};  // EditBateria, EditDisplay
}

bool isEmptyField(const ui::Control& field) {
  const std::string text = field.text();
  return text.empty() || (field.name() == "MaskNSerie" && text == kEmptySerialNumber);
}

}  // namespace

void TKadMain::appendLog(const std::string& line) {
  form["ListStatus"].addItem(line);
  scrollLog();
}

// Keeps the last 15 lines in view.
void TKadMain::scrollLog() {
  auto& list = form["ListStatus"];
  const int count = list.itemCount();
  if (count >= 16) list.setTopIndex(count - 15);
}

void TKadMain::updatePercentLabels() {
  auto percent = [](const ui::Control& bar) {
    const int max = bar.max();
    return std::to_string(max > 0 ? bar.position() * 100 / max : 0) + "%";
  };
  form["lblPorcAtual"].setCaption(percent(form["ProgressAtual"]));
  form["lblPorcTotal"].setCaption(percent(form["ProgressTotal"]));
}

void TKadMain::setModuleGridEnabled(bool enabled) { form["StringGrid"].setEnabled(enabled); }

void TKadMain::restartProgram() {
  loop().quit();
  processes().start(platform::executablePath(), {}, programDir());
}

bool TKadMain::isShortCode(const std::string& text) {
  if (text.size() != 2 && text.size() != 3) return false;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || !std::isalnum(byte)) return false;
  }
  return true;
}

// The first rule whose text the line contains decides its colours; the texts are those of the
// current language, so lines written before a language switch lose their colours.
ui::ItemStyle TKadMain::ListStatusDrawItem(int index) const {
  struct Rule {
    std::initializer_list<TextId> texts;
    ui::ItemStyle style;
  };
  using enum TextId;
  static const Rule rules[] = {
      {{MsgFlashWritten}, {colors::Black, colors::Lime}},
      {{KwError, TitleError, KwFailed}, {colors::White, colors::Red}},
      {{MsgUpdateFinished, MsgCommEstablished}, {colors::White, colors::Blue}},
      {{MsgOkSuffix}, {colors::Black, colors::Yellow}},
      {{MsgOpening}, {colors::Black, colors::Aqua}},
      {{MsgDateTimeWillUpdate, MsgSpecialNextLoad, MsgSpecialHalted, MsgLoaderModeNextLoad, MsgLoaderModeHalted},
       {colors::White, colors::Grey}},
  };
  const std::string line = form["ListStatus"].item(index);
  for (const Rule& rule : rules) {
    for (TextId id : rule.texts) {
      const std::string text = this->text(id);
      if (!text.empty() && line.find(text) != std::string::npos) return rule.style;
    }
  }
  return {colors::Black, colors::Default};
}

// Hovering the log shows the whole selected line.
void TKadMain::ListStatusMouseUp() {
  auto& list = form["ListStatus"];
  list.setHint(list.item(list.itemIndex()));
}

void TKadMain::ListStatusKeyDown(ui::Key key, unsigned modifiers) {
  if (modifiers != (ui::Ctrl | ui::Shift) || (key != ui::Key::F9 && key != ui::Key::F12)) return;
  if (!form["ButIniciar"].enabled() || profile_ == ProfileEngineering) return;
  if (!isOneOf(normalizedModel(currentModel), {E1, T1, TIM, TIMSK, DSL2})) return;
  const bool loader = key == ui::Key::F12;
  loaderMode = loader;
  specialModeRequested = !loader;
}

void TKadMain::ButSalvarClick() {
  const auto chosen = dialogs().saveFile({"Salvar LOG em arquivo",
                                          "Log files (*.log)|*.log|Text files (*.txt)|*.txt|All files (*.*)|*.*",
                                          ".log", {}});
  if (!chosen || chosen->empty()) return;
  const std::filesystem::path file = *chosen;
  std::error_code error;
  if (std::filesystem::exists(file, error) &&
      !dialogs().askYesNo(text(TextId::TitleConfirm),
                          text(TextId::MsgTheFile) + file.string() + text(TextId::MsgAlreadyExists))) {
    return;
  }
  std::string content;
  for (const auto& line : form["ListStatus"].items()) content += line + "\r\n";
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out) {
    dialogs().showOk(text(TextId::TitleError), text(TextId::MsgCouldNotOpenFile) + " " + file.string(),
                     ui::Icon::Error);
  }
}

void TKadMain::ButLimparClick() { form["ListStatus"].clearItems(); }

void TKadMain::ButApagaCamposClick() {
  if (profile_ != ProfileEngineering) return;
  for (const char* field : {"EditNomeCliente", "EditCPU", "EditEquip", "EditBateria", "EditDisplay", "EditSliver"}) {
    form[field].setText("");
  }
  form["MaskNSerie"].setText(kEmptySerialNumber);
  form["MaskNSerie"].setColor(colors::Silver);
}

bool TKadMain::FormShortCut(ui::Key key, unsigned modifiers) {
  if (modifiers != ui::NoModifier) return false;
  switch (key) {
    case ui::Key::Escape:
      if (!form["ButCancelar"].enabled()) return false;
      connection.userCancelled = true;
      if (stopAndReset) stopAndReset();
      return true;
    case ui::Key::F5:
      if (!form["ButIniciar"].enabled()) return false;
      form["ButIniciar"].click();
      return true;
    case ui::Key::F6:
      // The button may be enabled while it is invisible.
      if (!form["ButPaginas"].enabled()) return false;
      form["ButPaginas"].click();
      return true;
    case ui::Key::F1:
      openHelp();
      return true;
    default:
      return false;
  }
}

// The help program of the program directory when there is one, else the desktop's viewer;
// a missing viewer or help file is not reported.
void TKadMain::openHelp() {
  const auto helpFile = programDir() / (brand_ == Brand::Neb ? "helpneb-up.hlp" : "helpkad.hlp");
  const auto helpProgram = programDir() / "helpProgram";
  std::error_code error;
  if (std::filesystem::exists(helpProgram, error)) {
    processes().start(helpProgram, {helpFile.string()}, programDir());
    return;
  }
  const auto viewer = platform::findOnSearchPath("xdg-open");
  if (!viewer.empty()) processes().start(viewer, {helpFile.string()}, programDir());
}

void TKadMain::operatorFieldChange(const std::string& name) {
  auto& field = form[name];
  if (isEmptyField(field)) {
    field.setMark(false);
    field.setColor(colors::Silver);
    return;
  }
  field.setMark(true);
  const FieldRules rules = fieldRules(name, profile_, normalizedModel(currentModel));
  if (rules.lime) field.setColor(colors::Lime);
  if (name == "EditTipoHard") {
    if (!rules.lime) verificaHardZ();
    // The unit's hardware type always replaces a typed one.
    field.setMark(false);
  }
}

void TKadMain::operatorFieldClick(const std::string& name) {
  auto& field = form[name];
  if (fieldRules(name, profile_, normalizedModel(currentModel)).editable) {
    if (field.enabled()) field.selectAll();
  } else {
    field.setEnabled(false);
  }
}

// A value the unit fills in is the unit's, not the operator's: the mark stays clear, so the
// next unit's value replaces it.
void TKadMain::showUnitValue(const std::string& name, const std::string& value) {
  auto& field = form[name];
  if (field.mark()) return;
  field.setText(value);
  field.setMark(false);
  if (profile_ == ProfileEngineering && !isEmptyField(field)) field.setColor(colors::Aqua);
}

}  // namespace kad
