// The checks of a connected unit against the selected model, before anything is written.
#include "shell/kad_main.h"

namespace kad {
namespace {

using enum EquipmentModel;

// The unit families as the identity check groups them.
enum class Family { E1, T1, TIM, TIMSK, DSL2, OldFirmware, Unknown };

Family familyOf(std::uint16_t code) {
  switch (code) {
    case 200:
    case 202: return Family::E1;
    case 201: return Family::T1;
    case 300: return Family::TIM;
    case 301: return Family::TIMSK;
    case 400: return Family::DSL2;
    case UnitIdentity::kOldFirmware: return Family::OldFirmware;
    default: return Family::Unknown;
  }
}

// A connected family with a selected model that does not fit it, and the messages for it.
struct Mismatch {
  Family family;
  EquipmentModel selected;
  bool fromRevision2;  // E1 and T1 units tell themselves apart only from revision 2 on
  TextId ask;
  TextId error;
};

#define PAIR(family, model, rev, name) \
  Mismatch { Family::family, model, rev, TextId::MsgAskConn##name, TextId::MsgErrConn##name }
constexpr Mismatch kMismatches[] = {
    PAIR(T1, E1, true, T1SelE1),           PAIR(T1, DSL2, false, T1SelDSL2),
    PAIR(T1, TIM, false, T1SelTIM),        PAIR(T1, TIMSK, false, T1SelTIMSK),
    PAIR(E1, T1, true, E1SelT1),           PAIR(E1, DSL2, false, E1SelDSL2),
    PAIR(E1, TIM, false, E1SelTIM),        PAIR(E1, TIMSK, false, E1SelTIMSK),
    PAIR(TIM, T1, false, TIMSelT1),        PAIR(TIM, E1, false, TIMSelE1),
    PAIR(TIM, DSL2, false, TIMSelDSL2),    PAIR(TIMSK, T1, false, TIMSKSelT1),
    PAIR(TIMSK, E1, false, TIMSKSelE1),    PAIR(TIMSK, DSL2, false, TIMSKSelDSL2),
    PAIR(TIMSK, TIM, false, TIMSKSelTIM),  PAIR(DSL2, T1, false, DSL2SelT1),
    PAIR(DSL2, E1, false, DSL2SelE1),      PAIR(DSL2, TIM, false, DSL2SelTIM),
    PAIR(DSL2, TIMSK, false, DSL2SelTIMSK), PAIR(Unknown, T1, false, UnknownSelT1),
    PAIR(Unknown, E1, false, UnknownSelE1), PAIR(Unknown, TIM, false, UnknownSelTIM),
    PAIR(Unknown, TIMSK, false, UnknownSelTIMSK), PAIR(Unknown, DSL2, false, UnknownSelDSL2),
};
#undef PAIR

const Mismatch* findMismatch(Family family, EquipmentModel selected, std::uint16_t revision) {
  for (const Mismatch& m : kMismatches) {
    if (m.family == family && m.selected == selected && (!m.fromRevision2 || revision >= 2)) return &m;
  }
  return nullptr;
}

// The USB models: the model bytes their units report and the message for a foreign unit.
struct UsbModelRule {
  EquipmentModel model;
  int modelByte;
  TextId notSelected;
};
constexpr UsbModelRule kUsbModelRules[] = {
    {OPM, 2, TextId::MsgErrNotSelectedOPM},       {CATV, 1, TextId::MsgErrNotSelectedCATV},
    {MEGOMETRO, 4, TextId::MsgErrNotSelectedMeg}, {OTDR, 3, TextId::MsgErrNotSelectedOTDR150},
    {OTDR160, 5, TextId::MsgErrNotSelectedOTDR160}, {OTDR170, 6, TextId::MsgErrNotSelectedOTDR170},
};

}  // namespace

bool TKadMain::CheckUnitMatchesModel() {
  const auto model = normalizedModel(currentModel);
  if (model != E1 && model != T1 && model != TIM && model != TIMSK && model != DSL2) return true;
  const std::uint16_t code = unitIdentity.UnitFamilyCode;
  const Family family = familyOf(code);

  if (code == 202 && model != E1) {
    dialogs().showOk(text(TextId::TitleError), "QUAVELDEN8", ui::Icon::Error);
    unitIdentity.FamilyCode202 = true;
  }

  if (family == Family::OldFirmware) {
    if (profile_ != ProfileEngineering && !specialMode) return true;
    TextId question;
    switch (model) {
      case T1: question = TextId::MsgAskOldFwT1; break;
      case E1: question = TextId::MsgAskOldFwE1; break;
      case TIM: question = TextId::MsgAskOldFwTIM; break;
      case DSL2: question = TextId::MsgAskOldFwDSL2; break;
      default: return true;
    }
    return dialogs().askYesNo(text(TextId::TitleWarning), text(question), ui::Icon::Warning);
  }

  if (const Mismatch* mismatch = findMismatch(family, model, unitIdentity.UnitRevision)) {
    if (profile_ == ProfileEngineering) {
      return dialogs().askYesNo(text(TextId::TitleWarning), text(mismatch->ask), ui::Icon::Warning);
    }
    const bool t1OnTim = family == Family::T1 && (model == TIM || model == TIMSK);
    dialogs().showOk(text(t1OnTim ? TextId::TitleWarning : TextId::TitleError), text(mismatch->error),
                     t1OnTim ? ui::Icon::Warning : ui::Icon::Error);
    return false;
  }

  if (code == 202) unitIdentity.FamilyCode202 = true;
  if (code == 200) unitIdentity.FamilyCode202 = false;
  return true;
}

bool TKadMain::checkUsbModelByte() {
  if (profile_ == ProfileEngineering) return true;
  const auto model = normalizedModel(currentModel);
  if (model != OPM && form["chkSelModulos"].checked()) return true;
  for (const UsbModelRule& rule : kUsbModelRules) {
    if (rule.model != model) continue;
    const std::string code = codeFieldText(unitIdentity.usbCodeField);
    bool passes = unitIdentity.usbModelByte == rule.modelByte;
    // Older units of two models report the CATV byte and tell themselves apart by the code field.
    if (unitIdentity.usbModelByte == 1 && model == OPM) passes = !isShortCode(code);
    if (unitIdentity.usbModelByte == 1 && model == MEGOMETRO) passes = code.find("0B") != std::string::npos;
    if (passes) return true;
    EndConnection();
    dialogs().showOk(text(TextId::TitleInformation), text(rule.notSelected), ui::Icon::Information);
    return false;
  }
  return true;
}

bool TKadMain::checkTpDeviceType(std::uint16_t deviceType) {
  constexpr std::uint16_t kTp = 836, kTpPlus = 837, kUnservable = 4660;
  const auto model = normalizedModel(currentModel);
  if (deviceType == kUnservable) {
    EndConnection();
    dialogs().showOk(text(TextId::TitleError), text(TextId::MsgVersionIncompatible), ui::Icon::Error);
    appendLog(text(TextId::MsgVersionIncompatible));
    return false;
  }
  if (deviceType == kTp || deviceType == kTpPlus) {
    const bool plus = deviceType == kTpPlus;
    std::optional<TextId> error;
    switch (model) {
      case TIM: error = plus ? TextId::MsgErrConnTPPlusSelTIM : TextId::MsgErrConnTPSelTIM; break;
      case TIMSK: error = plus ? TextId::MsgErrConnTPPlusSelTIMSK : TextId::MsgErrConnTPSelTIMSK; break;
      case DSL2: error = plus ? TextId::MsgErrConnTPPlusSelDSL2 : TextId::MsgErrConnTPSelDSL2; break;
      case T1: error = plus ? TextId::MsgErrConnTPPlusSelT1 : TextId::MsgErrConnTPSelT1; break;
      case E1: error = plus ? TextId::MsgErrConnTPPlusSelE1 : TextId::MsgErrConnTPSelE1; break;
      default: break;
    }
    if (!error) return true;
    EndConnection();
    dialogs().showOk(text(TextId::TitleError), text(*error), ui::Icon::Error);
    return false;
  }
  if (model == TP) {
    EndConnection();
    dialogs().showOk(text(TextId::TitleError), text(TextId::MsgErrNotTP), ui::Icon::Error);
    return false;
  }
  return true;
}

}  // namespace kad
