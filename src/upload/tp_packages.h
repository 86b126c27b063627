#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kad {

inline constexpr std::string_view kPackageListFile = "packages.repository";
inline constexpr std::string_view kPackageExtension = ".package";
// A package list is a few lines; anything far bigger is not one.
inline constexpr std::uintmax_t kMaxPackageListBytes = 256 * 1024;

// The RQV183TP's application packages of the current page set.
struct TpPackageState {
  // UnitProtocolVersion: the version word of the unit's first packet. Units of version 0
  // or 1 take one package over the connection; later ones fetch the listed packages.
  int unitProtocolVersion = 0;
  std::vector<std::string> packages;  // names from "packages.repository"
  std::string oldUnitPackage;         // the one package of a version 0 or 1 unit
  std::vector<unsigned char> oldUnitPackageContents;  // read before the upload starts
  bool timeSyncRequested = false;    // the operator asked for the date and time to be sent
  bool moduleChangePending = false;  // the module grid holds a change not yet written
};

// The package names of a "packages.repository" text: each line's text after its first
// comma (the whole line when it holds none). Blank lines name nothing; line ends may be
// CR LF.
std::vector<std::string> parsePackageList(std::string_view content);

// Reads the list of a page-set folder; nothing when the file is missing, unreadable or
// too big to be a list.
std::optional<std::vector<std::string>> readPackageListFile(const std::filesystem::path& pageSetDir);

// Version 2 or later: the list is not empty and every name + ".package" is in the folder.
// Version 0 or 1: the one package file is in the folder.
bool packagesPresentIn(const std::filesystem::path& pageSetDir, const TpPackageState& state);

}  // namespace kad
