#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/http_client.h"

namespace kad::platform {
class IniFile;
}

namespace kad::online {

// The rows of the version list, in the order the server's "versions.txt" must list them.
enum VersionRow : int {
  RowProgram = 0,  // "KAD_RQV527E1PU": kad-main itself
  RowKad,          // "KAD": has no local counterpart
  RowE1,
  RowTIM,
  RowTIMSK,
  RowDSL2,
  RowTP,
  RowCATV,
  RowMegometro,
  RowOTDR,
  RowOTDR160,
  RowOTDR170,
  RowOPM,
  RowFirmware,
  kVersionRowCount
};

struct VersionEntry {
  std::string_view entryName;  // as it stands in "versions.txt"
  std::string_view localKey;   // brand file [Version] key; empty for the "KAD" row
};

extern const std::array<VersionEntry, kVersionRowCount> kVersionEntries;

inline constexpr std::string_view kVersionListPath = "/qe01/Software/KAD/versions.txt";
inline constexpr std::string_view kOnlineAgent = "KAD";
// The list is a few hundred bytes; anything far bigger is not a version list.
inline constexpr std::size_t kMaxVersionListBytes = 64 * 1024;

// Online and local version texts; they keep their last values between checks.
struct VersionTable {
  std::array<std::string, kVersionRowCount> online;
  std::array<std::string, kVersionRowCount> local;
};

// The value line after an entry name, as the list is read: the search for the name starts
// at the cursor; when the name is missing the cursor stays; the cursor then moves past the
// next line end and the value is the line it now stands on (without CR, empty when the
// text ends before a line end). The cursor is left at the start of the value line.
std::string takeEntryValue(std::string_view& cursor, std::string_view entryName);

// Every row's online text, read in table order from one cursor.
std::array<std::string, kVersionRowCount> parseVersionList(std::string_view content);

enum class VersionListOutcome { Loaded, NoInternet, NoServer };

// Fetches "versions.txt" from the update server, fills the online texts and reads the
// local ones from the brand file's [Version] section. On failure the table is unchanged.
VersionListOutcome loadVersionList(platform::HttpClient& http, const std::string& updateServer,
                                   const platform::IniFile& brandIni, VersionTable& table,
                                   const platform::HttpTransfer& transfer = {});

}  // namespace kad::online
