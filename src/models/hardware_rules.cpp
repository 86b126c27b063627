// The hardware-version rules: which of the two label sets the three hardware fields of the E1
// and TIM families carry. Older units report CPU, test set and battery in these places, newer
// ones display, CPU and test set. The rules relabel only; the values stay.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "shell/kad_main.h"

namespace kad {
namespace {

constexpr std::string_view kOldE1Types[] = {"a",  "b",  "c", "d",  "e",  "f",  "g",  "h",  "i",  "ia",
                                            "j",  "k",  "l", "la", "lb", "m",  "ma", "mb", "mc", "n",
                                            "na", "nb", "nc", "nd", "o", "oa", "ob", "oc", "od"};
constexpr std::string_view kOldTimTypes[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "ia", "j", "k", "m"};

template <std::size_t N>
bool contains(const std::string_view (&set)[N], const std::string& type) {
  return std::find(std::begin(set), std::end(set), type) != std::end(set);
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void TKadMain::verificaHardZ() {
  const auto model = normalizedModel(currentModel);
  const char* testSet = model == EquipmentModel::E1 ? "TSET" : "TIM";
  bool old = false;
  switch (model) {
    case EquipmentModel::E1:
    case EquipmentModel::TIM: {
      const bool byHand = profile_ == ProfileEngineering || (model == EquipmentModel::TIM && profile_ == ProfileRG);
      if (byHand) {
        old = form["botaoZ"].checked();
      } else {
        const std::string type = lowerCase(form["EditTipoHard"].text());
        old = model == EquipmentModel::E1 ? contains(kOldE1Types, type) : contains(kOldTimTypes, type);
      }
      break;
    }
    case EquipmentModel::TIMSK:
      break;
    default:
      return;
  }
  if (old) {
    form["lblCPU"].setCaption("CPU");
    form["lblEQUIP"].setCaption(testSet);
    form["lblBAT"].setCaption(text(TextId::CapBattery));
  } else {
    form["lblCPU"].setCaption("LCD");
    form["lblEQUIP"].setCaption("CPU");
    form["lblBAT"].setCaption(testSet);
  }
}

void TKadMain::botaoZClick() { verificaHardZ(); }

}  // namespace kad
