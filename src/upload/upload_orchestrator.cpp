// The upload of one connected unit, from the page-set check to "Operation complete.".
#include "shell/kad_main.h"

namespace kad {

bool TKadMain::checkPageSetBeforeUpload() {
  if (normalizedModel(currentModel.load()) == EquipmentModel::TP) return true;
  // On USB the unit's own file is the check: it must still be there and readable.
  if (linkMode.load() == LinkMode::USB) return ReadUnitFile();
  return CheckPageSetForUnit();
}

bool TKadMain::RunUpload() {
  if (!checkPageSetBeforeUpload()) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgFolderLacksFiles), ui::Buttons::Ok,
                         ui::Icon::Error);
    return false;
  }
  switch (linkMode.load()) {
    case LinkMode::USB:
      if (!RunUsbUpload()) return false;
      connection.uploadFinished = true;
      EndConnection();
      appendLog(text(TextId::MsgOperationComplete));
      appendLog(text(TextId::MsgUnitDisconnected));
      dialogs().messageBox(text(TextId::TitleInformation), text(TextId::MsgOperationComplete), ui::Buttons::Ok,
                           ui::Icon::Information);
      return true;
    case LinkMode::Serial:
    case LinkMode::Ethernet:
      // The serial and Ethernet page writers come with their links.
      return false;
  }
  return false;
}

}  // namespace kad
