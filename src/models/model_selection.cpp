// Making a model the current one: the window's fields, labels, link modes and write options
// follow the model and the profile. Also the interlocks between the write options.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "shell/config_keys.h"
#include "shell/kad_main.h"

namespace kad {
namespace {

using enum EquipmentModel;

// Label and field tops inside the hardware group, top to bottom.
constexpr int kLabelTops[] = {17, 36, 56, 76, 95};
constexpr int kFieldTops[] = {15, 35, 55, 74, 93};

const char* const kClientControls[] = {"EditNomeCliente", "EditTipoHard", "MaskNSerie", "Label4", "Label5", "lblTipoHard"};
const char* const kLinkRadios[] = {"RadioEthernet", "RadioSerial", "RadioUSB"};  // by LinkMode code

bool isImageModel(EquipmentModel model) {
  return model == OPM || isOtdrModel(model) || model == CATV || model == MEGOMETRO;
}

bool hasExtension(const std::string& file, const char* extension) {
  std::string actual = std::filesystem::path(file).extension().string();
  std::string wanted = extension;
  auto lower = [](std::string& s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  };
  lower(actual);
  lower(wanted);
  return actual == wanted;
}

}  // namespace

void TKadMain::selectModel(EquipmentModel model) {
  // Checking the model's radio button below runs its click handler, which selects again.
  if (selectingModel_) return;
  selectingModel_ = true;
  model = normalizedModel(model);
  const ModelInfo& info = modelInfo(model);
  currentModel = model;
  auto writeUnit = [&] { programIni().writeString(config::kConfig, config::kUnit, text(modelCaptionId(model))); };
  if (model != T1) writeUnit();

  const bool service = profile_ == ProfileEngineering ||
                       (profile_ == ProfileRG && (model == TIM || model == TIMSK || model == OPM));
  if (service) {
    applyServiceLayout(model);
    if (model == TIM || model == TIMSK) form["ButEspecial"].setVisible(true);
    if (profile_ == ProfileRG && model == OPM) {
      form["chkGravComPagCalib"].setChecked(false);
      form["chkGravComPagCalib"].setEnabled(false);
      form["chkAllPages"].setEnabled(false);
      form["ButEspecial"].setVisible(false);
    }
  } else {
    applyCustomerLayout(model);
  }
  if (model == T1) writeUnit();

  applyLinkModes(info);
  applyFieldLayout(info);

  if (info.especialCaption) form["ButEspecial"].setCaption(text(*info.especialCaption));
  if (info.checksAllPages) form["chkAllPages"].setChecked(true);

  const bool byHand = profile_ == ProfileEngineering || profile_ == ProfileRG;
  if ((model == E1 && profile_ == ProfileEngineering) || ((model == TIM || model == TIMSK) && byHand)) {
    verificaHardZ();
  }
  selectingModel_ = false;
}

// The option boxes are checked or unchecked first, so that the interlocks they run leave the
// enabled states the layout names.
void TKadMain::applyServiceLayout(EquipmentModel model) {
  using enum OptionState;
  const ServiceLayout& layout = serviceLayout(model);
  const std::pair<const char*, OptionState> boxes[] = {
      {"chkApagar", layout.chkApagar}, {"chkAllPages", layout.chkAllPages},
      {"chkPageX", layout.chkPageX},   {"chkLoader", layout.chkLoader},
      {"chkGravComPagCalib", layout.chkGravComPagCalib}, {"chkDataHora", layout.chkDataHora}};
  for (const auto& [name, state] : boxes) {
    if (state == OffClear || state == ShownOffClear) form[name].setChecked(false);
    if (state == OffChecked) form[name].setChecked(true);
  }
  for (const auto& [name, state] : boxes) {
    if (state == Keep) continue;
    form[name].setEnabled(state == On || state == ShownOn);
    if (state == ShownOn || state == ShownOffClear) form[name].setVisible(true);
  }

  auto& tipo = form["EditTipoHard"];
  if (layout.tipoHard == OffClear) {
    tipo.setEnabled(false);
    tipo.setText("");
  } else if (layout.tipoHard == On) {
    tipo.setEnabled(true);
  }
  for (std::size_t i = 0; i < std::size(kHardwareEdits); ++i) {
    form[kHardwareEdits[i]].setEnabled((layout.hardwareEdits >> i) & 1u);
  }
  if (layout.clientFieldsOn) {
    form["EditNomeCliente"].setEnabled(true);
    form["MaskNSerie"].setEnabled(true);
  }
  form["botaoZ"].setVisible(layout.botaoZ == ShownOn);
  if (layout.botaoZ == ShownOn) form["botaoZ"].setEnabled(true);

  if (model == T1) {
    form["chkApagar"].setChecked(false);
    form["chkGravComPagCalib"].setChecked(false);
    if (form["chkAllPages"].checked()) {
      form["chkApagar"].setEnabled(true);
      form["chkPageX"].setEnabled(false);
      form["chkLoader"].setEnabled(false);
    }
    if (form["chkPageX"].checked()) {
      form["chkApagar"].setEnabled(true);
      form["chkAllPages"].setEnabled(false);
      form["chkLoader"].setEnabled(false);
    }
    if (form["chkLoader"].checked()) {
      form["chkAllPages"].setEnabled(false);
      form["chkPageX"].setEnabled(false);
    }
  }
}

void TKadMain::applyCustomerLayout(EquipmentModel model) {
  auto& extras = form["GroupBoxExtras"];
  extras.setEnabled(false);
  extras.setVisible(false);
  form["chkSincDataHora"].setChecked(false);
  auto& modules = form["chkSelModulos"];
  modules.setChecked(false);
  if (model == E1 || model == T1) {
    modules.setCaption(text(TextId::CapSelectModules));
    modules.setEnabled(true);
  } else if (model == CATV || model == MEGOMETRO) {
    modules.setCaption(text(TextId::CapUpdateLineup));
    modules.setEnabled(false);
  } else {
    modules.setEnabled(false);
  }
  const bool ethernet = linkMode == LinkMode::Ethernet;
  form["chkSincDataHora"].setEnabled(model == TP || ((model == E1 || model == T1 || model == DSL2) && ethernet));

  if (model == E1 || model == TIM || model == TIMSK || model == DSL2) form["chkAllPages"].setChecked(true);
  if (model == DSL2) {
    form["chkLoader"].setEnabled(false);
    form["chkPageX"].setEnabled(false);
  }
  if (model == T1) form["chkAllPages"].setEnabled(false);
  for (const char* edit : kHardwareEdits) form[edit].setEnabled(false);

  if (profile_ == ProfileRG) {
    for (const char* name : {"EditNomeCliente", "MaskNSerie", "EditTipoHard"}) form[name].setEnabled(false);
    form["botaoZ"].setVisible(false);
    form["chkGravComPagCalib"].setChecked(false);
    for (const char* box : {"chkSincDataHora", "chkDataHora", "chkLoader", "chkAllPages", "chkPageX", "chkApagar",
                            "chkGravComPagCalib"}) {
      form[box].setEnabled(false);
    }
    form["ButEspecial"].setVisible(false);
  }
}

void TKadMain::applyLinkModes(const ModelInfo& info) {
  form[info.radio].setChecked(true);
  const char* selected = nullptr;
  for (int mode = 0; mode < 3; ++mode) {
    auto& radio = form[kLinkRadios[mode]];
    const bool offered = info.links & linkBit(static_cast<LinkMode>(mode));
    radio.setEnabled(offered);
    if (radio.checked()) selected = offered ? kLinkRadios[mode] : nullptr;
  }
  const bool anyChecked = std::any_of(std::begin(kLinkRadios), std::end(kLinkRadios),
                                      [&](const char* name) { return form[name].checked(); });
  if (!selected) {
    // E1 offers every mode and forces none: with nothing selected yet it leaves the choice open.
    if (info.model == E1 && !anyChecked) return;
    // Checking the forced mode runs its handler.
    form[kLinkRadios[static_cast<int>(info.forced)]].setChecked(true);
  } else if (info.model != T1) {
    form[selected].click();  // re-applies the selected mode
  }
}

void TKadMain::applyFieldLayout(const ModelInfo& info) {
  if (info.fieldCount == 0) {
    for (const char* name : kClientControls) form[name].setVisible(false);
    for (std::size_t i = 0; i < std::size(kHardwareEdits); ++i) {
      form[kHardwareEdits[i]].setVisible(false);
      form[kHardwareLabels[i]].setVisible(false);
    }
    return;
  }
  if (!form["EditNomeCliente"].visible()) {
    for (const char* name : kClientControls) form[name].setVisible(true);
  }
  form["EditNomeCliente"].setMaxLength(info.clientNameLength);

  // The engineering build leaves the E1 and T1 labels to the hardware-version rules and the
  // operator's "old hardware" box; T1 always reads TSET for its test-set field.
  const bool keepLabels = profile_ == ProfileEngineering && (info.model == E1 || info.model == T1);
  for (std::size_t i = 0; i < std::size(kHardwareEdits); ++i) {
    auto& edit = form[kHardwareEdits[i]];
    auto& label = form[kHardwareLabels[i]];
    const auto end = info.fields.begin() + info.fieldCount;
    const auto field = std::find_if(info.fields.begin(), end,
                                    [&](const HardwareField& f) { return std::string_view(f.edit) == kHardwareEdits[i]; });
    const bool shown = field != end;
    edit.setVisible(shown);
    label.setVisible(shown);
    if (!shown) continue;
    const int row = static_cast<int>(field - info.fields.begin());
    edit.setTop(kFieldTops[row]);
    edit.setTabOrder(row);
    label.setTop(kLabelTops[row]);
    if (!keepLabels) label.setCaption(field->literal ? field->literal : text(TextId::CapBattery));
  }
  if (profile_ == ProfileEngineering && info.model == T1) form["lblEQUIP"].setCaption("TSET");
}

// ---- Write-option interlocks -------------------------------------------------------------

void TKadMain::chkLoaderClick() {
  const auto model = normalizedModel(currentModel);
  if (form["chkLoader"].checked()) {
    form["chkApagar"].setChecked(false);
    for (const char* name : {"EditNomeCliente", "MaskNSerie", "EditTipoHard", "chkPageX", "chkAllPages",
                             "chkGravComPagCalib", "chkApagar"}) {
      form[name].setEnabled(false);
    }
    for (const char* edit : kHardwareEdits) form[edit].setEnabled(false);
  } else {
    for (const char* name : {"EditNomeCliente", "MaskNSerie", "EditTipoHard", "chkPageX", "chkAllPages"}) {
      form[name].setEnabled(true);
    }
    for (const char* edit : kHardwareEdits) form[edit].setEnabled(true);
    if (model != E1 && model != T1 && model != DSL2 && model != TP) form["chkGravComPagCalib"].setEnabled(true);
  }
}

void TKadMain::chkPageXClick() {
  const auto model = normalizedModel(currentModel);
  if (form["chkPageX"].checked()) {
    form["chkAllPages"].setChecked(false);
    form["chkLoader"].setEnabled(false);
    form["chkAllPages"].setEnabled(false);
    form["chkGravComPagCalib"].setEnabled(false);
    if (profile_ == ProfileEngineering || (profile_ == ProfileRG && model == TIM)) {
      form["EditPag"].setEnabled(true);
      if (model == TIM) {
        form["ButEspecial"].setEnabled(true);
      } else if (model == E1) {
        form["chkApagar"].setEnabled(true);
      }
    } else {
      form["EditPag"].setEnabled(false);
    }
    return;
  }
  if (linkMode == LinkMode::Serial) {
    form["chkLoader"].setEnabled(true);
    if (model == TIM) form["chkGravComPagCalib"].setEnabled(true);
  } else {
    form["chkLoader"].setEnabled(false);
    if (isImageModel(model)) form["chkGravComPagCalib"].setEnabled(true);
  }
  form["EditPag"].setEnabled(false);
  form["chkAllPages"].setEnabled(true);
  form["chkApagar"].setChecked(false);
  form["chkApagar"].setEnabled(false);
  form["ButEspecial"].setEnabled(false);
}

void TKadMain::chkAllPagesClick() {
  const auto model = normalizedModel(currentModel);
  if (form["chkAllPages"].checked()) {
    form["chkPageX"].setChecked(false);
    form["chkLoader"].setEnabled(false);
    form["chkPageX"].setEnabled(false);
    if (!isImageModel(model)) form["chkGravComPagCalib"].setEnabled(false);
    if (model == E1 || model == T1 || model == TP) form["chkApagar"].setEnabled(true);
    return;
  }
  if (linkMode == LinkMode::Serial) {
    form["chkLoader"].setEnabled(true);
    if (model == TIM || model == TIMSK) form["chkGravComPagCalib"].setEnabled(true);
  } else {
    form["chkLoader"].setEnabled(false);
    if (isImageModel(model)) form["chkGravComPagCalib"].setEnabled(true);
  }
  form["chkPageX"].setEnabled(true);
  form["chkApagar"].setChecked(false);
  form["chkApagar"].setEnabled(false);
}

// Asks for the file that goes with the next upload of the current model; a cancelled dialog
// or a file of another kind forgets the stored file and unchecks the box.
bool TKadMain::chooseModelFile(const char* box, TextId need, const char* filter, const char* extension) {
  const auto index = static_cast<std::size_t>(normalizedModel(currentModel));
  dialogs().showOk(text(TextId::TitleWarning), text(need), ui::Icon::Warning);
  const auto chosen = dialogs().openFile({text(TextId::CapOpen), filter, {}, {}});
  if (chosen && hasExtension(*chosen, extension)) {
    calibrationFile[index] = *chosen;
    return true;
  }
  if (chosen) dialogs().showOk(text(TextId::TitleError), text(TextId::MsgInvalidFile), ui::Icon::Error);
  calibrationFile[index].clear();
  form[box].setChecked(false);
  return false;
}

void TKadMain::chkGravComPagCalibClick() {
  const auto model = normalizedModel(currentModel);
  if (!form["chkGravComPagCalib"].checked()) {
    form["chkLoader"].setEnabled(true);
    form["chkPageX"].setEnabled(true);
    form["EditPag"].setEnabled(false);
    if (profile_ != ProfileRG || model == TIM) form["chkAllPages"].setEnabled(true);
    form["chkApagar"].setChecked(false);
    form["chkApagar"].setEnabled(false);
    return;
  }
  if (isImageModel(model)) {
    chooseModelFile("chkGravComPagCalib", TextId::MsgNeedCalibPath, "Bin files (*.bin)|*.bin|All files (*.*)|*.*",
                    ".bin");
    return;
  }
  for (const char* name : {"chkLoader", "chkAllPages", "chkPageX", "chkApagar"}) form[name].setEnabled(false);
}

void TKadMain::chkSelModulosClick() {
  if (normalizedModel(currentModel) != CATV) return;
  if (!form["chkSelModulos"].checked()) {
    appendLog(text(TextId::MsgUpdateNormally));
    return;
  }
  if (chooseModelFile("chkSelModulos", TextId::MsgNeedLineupPath, "Csv files (*.csv)|*.csv|All files (*.*)|*.*",
                      ".csv")) {
    appendLog(text(TextId::MsgLineupNextLoad));
  }
}

// The page number of a one-page write: 0 to 20. Text that is not a number is refused as an
// invalid page number.
void TKadMain::EditPagExit() {
  auto& field = form["EditPag"];
  const std::string value = field.text();
  if (value.empty()) {
    dialogs().showOk(text(TextId::TitleWarning), text(TextId::MsgNeedPageNumber), ui::Icon::Warning);
    field.setFocus();
    return;
  }
  const bool digits = std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digits || value.size() > 2 || std::stoi(value) > 20) {
    dialogs().showOk(text(TextId::TitleWarning), text(TextId::MsgInvalidPageNumber), ui::Icon::Warning);
    field.setFocus();
  }
}

void TKadMain::EditPagClick() {
  if (form["EditPag"].enabled()) form["EditPag"].selectAll();
}

}  // namespace kad
