#include "online/version_list.h"

#include "online/servers.h"
#include "platform/ini_file.h"
#include "shell/kad_main.h"

namespace kad::online {

const std::array<VersionEntry, kVersionRowCount> kVersionEntries = {{
    {"KAD_RQV527E1PU", "VER_KAD_RQV527E1PU"},
    {"KAD", ""},
    {"RQV527E1", "VER_E1"},
    {"RQV638TIM", "VER_TIM"},
    {"RQV638TIMSK", "VER_TIMSK"},
    {"RQV749DSL2+", "VER_DSL2"},
    {"RQV183TP", "VER_TP"},
    {"RQV851CATV", "VER_CATV"},
    {"RQV962M", "VER_MEGOMETRO"},
    {"RQV465OTDR", "VER_OTDR"},
    {"RQV466OTDR", "VER_160_OTDR"},
    {"RQV467OTDR", "VER_170_OTDR"},
    {"RQV431-OPM", "VER_OPM"},
    {"Firmware E1/TIM", "HARD_CPU206"},
}};

std::string takeEntryValue(std::string_view& cursor, std::string_view entryName) {
  const auto found = cursor.find(entryName);
  if (found != std::string_view::npos) cursor.remove_prefix(found);
  const auto nameLineEnd = cursor.find('\n');
  cursor.remove_prefix(nameLineEnd == std::string_view::npos ? cursor.size() : nameLineEnd + 1);
  const auto valueEnd = cursor.find('\n');
  if (valueEnd == std::string_view::npos) return {};
  std::string_view value = cursor.substr(0, valueEnd);
  value = value.substr(0, value.find('\r'));
  return std::string(value);
}

std::array<std::string, kVersionRowCount> parseVersionList(std::string_view content) {
  std::array<std::string, kVersionRowCount> values;
  std::string_view cursor = content;
  for (int row = 0; row < kVersionRowCount; ++row) values[row] = takeEntryValue(cursor, kVersionEntries[row].entryName);
  return values;
}

VersionListOutcome loadVersionList(platform::HttpClient& http, const std::string& updateServer,
                                   const platform::IniFile& brandIni, VersionTable& table,
                                   const platform::HttpTransfer& transfer) {
  std::string content;
  const auto result = http.fetchText(platform::joinUrl(updateServer, std::string(kVersionListPath)), content,
                                     kMaxVersionListBytes, transfer);
  if (result == platform::HttpResult::NoHandle) return VersionListOutcome::NoInternet;
  if (result != platform::HttpResult::Ok) return VersionListOutcome::NoServer;

  table.online = parseVersionList(content);
  for (int row = 0; row < kVersionRowCount; ++row) {
    const auto key = kVersionEntries[row].localKey;
    if (!key.empty()) table.local[row] = brandIni.readString("Version", key, "");
  }
  return VersionListOutcome::Loaded;
}

}  // namespace kad::online

namespace kad {

void TKadMain::versoesEquipamentosOnline() {
  const auto servers = online::serversFromBrandFile(brandIni());
  auto outcome = online::VersionListOutcome::NoInternet;
  ui::runWork(runTransfer, [&] {
    platform::HttpClient http(std::string(online::kOnlineAgent));
    outcome = online::loadVersionList(http, servers.update, brandIni(), versions);
  });
  if (outcome == online::VersionListOutcome::NoInternet) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgOnlineSearchError), ui::Buttons::Ok, ui::Icon::Error);
  } else if (outcome == online::VersionListOutcome::NoServer) {
    dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgServerConnectError), ui::Buttons::Ok,
                         ui::Icon::Error);
  }
}

}  // namespace kad
