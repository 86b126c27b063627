#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kad::online {

// The flags of the update check; every run returns them to these start values.
struct UpdateCheckState {
  bool askBeforeDownload = true;   // ask before the program update and each model's download
  bool programCheckArmed = false;  // compare the program's own version in this run
  bool reportResult = true;        // end the run with a message box
};

// The hardware types of a brand file [Equipment] list such as "$0i.0h.": reading starts at
// the "0" of the first "$0" (at the start when there is none); each entry runs from its
// second character to the next "."; an entry without its closing "." ends the list.
std::vector<std::string> parseEquipmentList(std::string_view list);

}  // namespace kad::online
