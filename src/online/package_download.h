#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "models/equipment_model.h"
#include "platform/http_client.h"

namespace kad::online {

// One file of a package: where it lives on the package server, where it is stored
// (relative to the program directory) and the folder it belongs in.
struct PackageFile {
  std::string remotePath;
  std::filesystem::path localFile;
  std::filesystem::path localFolder;
};

struct PackageEntry {
  PackageFile file;
  std::optional<PackageFile> second;  // E1: the second hardware's package
  bool unpack = false;
};

// The package of a model for a hardware type code (lower case, as the [Equipment] list
// records it; the TP special files by their names). Codes match case-sensitively; every
// E1 code means the one E1 package. Nothing for a code the model does not have.
std::optional<PackageEntry> findPackage(EquipmentModel target, const std::string& code);

enum class PackageOutcome {
  Done,
  NoEntry,     // no package for the request: refused without a word
  NoInternet,  // the client could not be set up
  NoServer,    // the server could not be reached, refused the file or broke off
  NotStored,   // the file could not be stored or unpacked whole
};

// Fetches the package into its place under the program directory, creating its folders.
// A zip package is unpacked into its folder and then deleted. A broken or refused download
// leaves nothing under the package's name.
PackageOutcome fetchPackage(platform::HttpClient& http, const std::string& packageServer,
                            const std::filesystem::path& programDirectory, EquipmentModel target,
                            const std::string& code, const platform::HttpTransfer& transfer = {});

}  // namespace kad::online
