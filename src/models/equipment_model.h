#pragma once
#include <cstdint>

namespace kad {

// One signed byte, as the unit family's code; any value outside 0..12 behaves as E1.
enum class EquipmentModel : std::int8_t {
  OPM = 0,
  OTDR = 1,
  OTDR160 = 2,
  OTDR170 = 3,
  E1 = 4,
  T1 = 5,
  TIM = 6,
  TIMSK = 7,
  DSL2 = 8,
  CATV = 9,
  MEGOMETRO = 10,
  TP = 11,
  CPU206 = 12,
};

inline constexpr int kModelCount = 13;

inline EquipmentModel normalizedModel(EquipmentModel model) {
  const auto code = static_cast<int>(model);
  return (code < 0 || code >= kModelCount) ? EquipmentModel::E1 : model;
}

inline bool isOtdrModel(EquipmentModel model) {
  return model == EquipmentModel::OTDR || model == EquipmentModel::OTDR160 || model == EquipmentModel::OTDR170;
}

}  // namespace kad
