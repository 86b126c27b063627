#pragma once
#include <array>
#include <mutex>
#include <string>
#include <string_view>

#include "models/equipment_model.h"
#include "pagesets/personal_data.h"

namespace kad {

// The module grid's own bookkeeping. (The extra modules chosen for the unit's slots are the
// main window's eight module flags.)
class InstalledModules {
 public:
  // Set when the write preparation ends a TP connection inside its click, so the module
  // listing that follows leaves the grid idle; consumed by that listing.
  bool takeSkipNextTpListing();
  void setSkipNextTpListing(bool skip);

  // The cell of the last mouse-button release over the grid.
  void setLastMouseCell(int col, int row);
  std::pair<int, int> lastMouseCell() const;

 private:
  mutable std::mutex mutex_;
  bool skipNextTpListing_ = false;
  int mouseCol_ = -1;
  int mouseRow_ = -1;
};

// New hardware has every extra module of E1 and T1 built in.
bool isNewHardware(std::string_view hardwareTypeText);

// Whether the E1 extra module in `row` may be installed on hardware of that type.
bool extraModuleAllowed(int row, std::string_view hardwareTypeText);

// A module word's four slots, slot 1 from the highest nibble.
ModuleSlots unpackModuleWord(std::uint16_t moduleWord);

// The slots as the unit reported them, or the replacement set for an invalid one.
ModuleSlots validatedSlots(EquipmentModel model, ModuleSlots slots);

// The grid row of a module index, or -1 when the model has no row for it.
int extraModuleRow(EquipmentModel model, int index);

}  // namespace kad
