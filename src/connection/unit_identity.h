#pragma once
#include <array>
#include <cstdint>

namespace kad {

// The identity words the connected unit reported, kept for the model checks and the write
// preparation. (Its hardware type lives with the page checks.)
struct UnitIdentity {
  std::uint16_t familyCode = 0;  // UnitFamilyCode
  std::uint16_t revision = 0;    // UnitRevision: the unit's page-format version
  std::array<std::uint16_t, 2> checkWords{};
};

}  // namespace kad
