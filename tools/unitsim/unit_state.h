#pragma once
// The state file: what a running simulated unit holds, saved so that another process (a test, the
// inspector) can read it. A text file of one fact per line, with the words and bytes themselves in
// binary files of a folder beside it ("<state>.d/ram.bin", "page-<n>.bin" as big-endian words,
// "image-<event>.bin"). Each file is replaced atomically.
#include <filesystem>
#include <optional>
#include <string>

#include "unit_flash.h"

namespace kad::unitsim {

// Folder beside the state file that holds the words and bytes.
std::filesystem::path stateDataFolder(const std::filesystem::path& stateFile);

bool saveState(const UnitMemory& memory, const std::filesystem::path& stateFile);
// Empty when the file is missing or not a state file.
std::optional<UnitMemory> loadState(const std::filesystem::path& stateFile);

// What the inspector prints: the records taken in order, page 0's identity words, calibration and
// module words, the images.
std::string describeMemory(const UnitMemory& memory);

}  // namespace kad::unitsim
