#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "models/equipment_model.h"
#include "online/version_list.h"
#include "shell/catalog.h"

namespace kad {

// How "Gravar páginas" finds a model's page set and keeps its package bookkeeping. The keys
// are those of the brand file ([Equipment], [Version]) and of "KAD.ini" [Diretorio].
struct WriteModelRow {
  EquipmentModel model;
  const char* equipmentKey;  // list of fetched hardware types; null: the model keeps none
  const char* versionKey;    // version of the local package
  online::VersionRow versionRow;
  const char* localCopyKey;  // folder of a usable local copy
  const char* proofFile;     // the file that proves a copy usable; null: the TP packages
  EquipmentModel downloadTarget;
  TextId newSoftwareQuestion;
  TextId updatingFiles;
};

const WriteModelRow& writeModelRow(EquipmentModel model);

// The folder below the program directory for a unit's hardware type (lower case), and the
// entry its [Equipment] list records. Nothing when the model does not serve that type.
struct HardwareFolder {
  std::string folder;  // ends with a separator
  std::string entry;
};
std::optional<HardwareFolder> resolveHardwareFolder(EquipmentModel model, std::string_view hardwareType,
                                                    bool familyCode202);

// The [Equipment] list after a fetch of `entry`: an empty list becomes "$0" + entry + ".";
// otherwise "0" + entry + "." is appended unless the entry occurs anywhere in the text.
std::string addToEquipmentList(const std::string& list, std::string_view entry);
// The TP list names "a" and "b", which share one folder: an empty list becomes "$0b.", then
// "0a." and "0b." are appended while missing, one per run.
std::string addToTpEquipmentList(const std::string& list);

// The page-set files checked before the upload, in order, for the full set of a model.
std::vector<std::string> fullPageSetFiles(EquipmentModel model, std::string_view hardwareType);

// What "Gravar páginas" keeps for the modes that choose their own files.
struct WritePreparationState {
  // The file chosen for the special or loader mode; its folder replaces the page set.
  std::filesystem::path serviceModeFile;
  // Sends the date and time to an Ethernet unit; the Ethernet link installs it.
  std::function<void()> sendDateTime;
  // Starts the upload thread when the preparation is through; the hub sets it to
  // startUploadThread, a test to a probe.
  std::function<void()> startUpload;
};

}  // namespace kad
