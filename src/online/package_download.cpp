#include "online/package_download.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "online/servers.h"
#include "online/version_list.h"
#include "platform/zip_extract.h"
#include "shell/kad_main.h"

namespace kad::online {

namespace {

using enum EquipmentModel;
namespace fs = std::filesystem;

// One row of the package table. In the patterns "{c}" stands for the code as requested
// and "{C}" for it in upper case. An empty code list accepts any code.
struct PackageRule {
  EquipmentModel target;
  std::vector<std::string_view> codes;
  std::string_view remotePath;
  std::string_view localFile;
  std::string_view localFolder;
  bool unpack;
};

const std::vector<PackageRule>& packageRules() {
  static const std::vector<PackageRule> rules = {
      {E1, {"pf"}, "/qe01/Software/RQV527E1/qee1pf.zip", "qee1pf.zip", "RQV527E1/HARD_PF/", true},
      {TIM, {"n", "m", "l", "k", "j", "ia", "i", "h", "g", "f", "e", "d", "c"},
       "/qe01/Software/RQV638TIM/qeti6{c}.zip", "qeti6{c}.zip", "RQV638TIM/HARD_{C}/", true},
      {TIMSK, {"a", "b", "c"}, "/qe01/Software/RQV638TIMSK/qetisk{c}.zip", "qetisk{c}.zip", "RQV638TIMSK/HARD_{C}/",
       true},
      {DSL2, {"i", "h", "g", "f", "e", "d"}, "/qe01/Software/RQV749DSL2+/qead2{c}.zip", "qead2{c}.zip",
       "RQV749DSL2+/HARD_{C}/", true},
      {TP, {"a", "b"}, "/qe01/Software/RQV183TP/183tp.zip", "183tp.zip", "RQV183TP/", true},
      {TP, {"UP5v6TP1A"}, "/qe01/Software/RQV183TP/especial/UP5v6TP1A", "RQV183TP/HARD_OLD/UP5v6TP1A",
       "RQV183TP/HARD_OLD/", false},
      {TP, {"v14tp1A"}, "/qe01/Software/RQV183TP/especial/v14tp1A", "RQV183TP/HARD_OLD/v14tp1A", "RQV183TP/HARD_OLD/",
       false},
      {CATV, {"a", "c", "d"}, "/qe01/Software/RQV851CATV/HARD_{C}/programa_principal.bin",
       "RQV851CATV/HARD_{C}/programa_principal.bin", "RQV851CATV/HARD_{C}/", false},
      {MEGOMETRO, {"a"}, "/qe01/Software/RQV962M/HARD_A/programa_principal.bin",
       "RQV962M/HARD_A/programa_principal.bin", "RQV962M/HARD_A/", false},
      {OTDR, {"a", "c", "d"}, "/qe01/Software/RQV465OTDR/HARD_{C}/programa_principal.bin",
       "RQV465OTDR/HARD_{C}/programa_principal.bin", "RQV465OTDR/HARD_{C}/", false},
      {OTDR160, {"a"}, "/qe01/Software/RQV466OTDR/HARD_A/programa_principal.bin",
       "RQV466OTDR/HARD_A/programa_principal.bin", "RQV466OTDR/HARD_A/", false},
      {OTDR170, {"a"}, "/qe01/Software/RQV467OTDR/HARD_A/programa_principal.bin",
       "RQV467OTDR/HARD_A/programa_principal.bin", "RQV467OTDR/HARD_A/", false},
      // The first power-meter package is fetched from the RQV431OPM path but kept under
      // RQV432PPM, where the upload looks for it.
      {OPM, {"a"}, "/qe01/Software/RQV431OPM/HARD_A/programa_principal.bin", "RQV432PPM/HARD_A/programa_principal.bin",
       "RQV432PPM/HARD_A/", false},
      {OPM, {"c", "d"}, "/qe01/Software/RQV431OPM/HARD_{C}/programa_principal.bin",
       "RQV431OPM/HARD_{C}/programa_principal.bin", "RQV431OPM/HARD_{C}/", false},
      {CPU206, {}, "/qe01/Software/FIRMWARE_E1_TIM/programa_principal.bin",
       "FIRMWARE_E1_TIM/HARD_A/programa_principal.bin", "FIRMWARE_E1_TIM/HARD_A/", false},
  };
  return rules;
}

const PackageFile kE1SecondFile = {"/qe01/Software/RQV527E1/tte1pf.zip", "tte1pf.zip", "RQV527E1/HARD_TT_PF/"};

std::string expand(std::string_view pattern, const std::string& code) {
  std::string upper = code;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern.substr(i, 3) == "{c}") {
      text += code;
      i += 2;
    } else if (pattern.substr(i, 3) == "{C}") {
      text += upper;
      i += 2;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

PackageOutcome outcomeOf(platform::HttpResult result) {
  switch (result) {
    case platform::HttpResult::Ok: return PackageOutcome::Done;
    case platform::HttpResult::NoHandle: return PackageOutcome::NoInternet;
    case platform::HttpResult::LocalFileFailed: return PackageOutcome::NotStored;
    default: return PackageOutcome::NoServer;
  }
}

}  // namespace

std::optional<PackageEntry> findPackage(EquipmentModel target, const std::string& requested) {
  const std::string code = target == E1 ? "pf" : requested;
  for (const auto& rule : packageRules()) {
    if (rule.target != target) continue;
    if (!rule.codes.empty() && std::find(rule.codes.begin(), rule.codes.end(), code) == rule.codes.end()) continue;
    PackageEntry entry;
    entry.file = {expand(rule.remotePath, code), expand(rule.localFile, code), expand(rule.localFolder, code)};
    entry.unpack = rule.unpack;
    if (target == E1) entry.second = kE1SecondFile;
    return entry;
  }
  return std::nullopt;
}

PackageOutcome fetchPackage(platform::HttpClient& http, const std::string& packageServer,
                            const fs::path& programDirectory, EquipmentModel target, const std::string& code,
                            const platform::HttpTransfer& transfer) {
  const auto entry = findPackage(target, code);
  if (!entry) return PackageOutcome::NoEntry;

  // The folders are made once the server has said yes, so a refused request leaves the
  // disk as it was.
  platform::HttpTransfer first = transfer;
  first.beforeFirstWrite = [&] {
    std::error_code error;
    fs::create_directories(programDirectory / entry->file.localFolder, error);
    if (entry->second) fs::create_directories(programDirectory / entry->second->localFolder, error);
    return !error;
  };
  const fs::path localFile = programDirectory / entry->file.localFile;
  const auto outcome = outcomeOf(http.download(platform::joinUrl(packageServer, entry->file.remotePath), localFile, first));
  if (outcome != PackageOutcome::Done) return outcome;

  // The second E1 file is optional: when it cannot be fetched nothing of it is stored.
  bool secondStored = false;
  fs::path secondFile;
  if (entry->second) {
    secondFile = programDirectory / entry->second->localFile;
    secondStored = http.download(platform::joinUrl(packageServer, entry->second->remotePath), secondFile, transfer) ==
                   platform::HttpResult::Ok;
  }
  if (!entry->unpack) return PackageOutcome::Done;

  bool unpacked = platform::extractZip(localFile, programDirectory / entry->file.localFolder).ok();
  if (secondStored) unpacked = platform::extractZip(secondFile, programDirectory / entry->second->localFolder).ok() && unpacked;
  std::error_code ignored;
  fs::remove(localFile, ignored);
  if (!secondFile.empty()) fs::remove(secondFile, ignored);
  return unpacked ? PackageOutcome::Done : PackageOutcome::NotStored;
}

}  // namespace kad::online

namespace kad {

bool TKadMain::downloadPackage(EquipmentModel target, const std::string& code) {
  if (!online::findPackage(target, code)) return false;
  const auto servers = online::serversFromBrandFile(brandIni());

  // The bar follows the bytes received against the announced length.
  auto& bar = form["ProgressAtual"];
  platform::HttpTransfer transfer;
  transfer.progress = [this, &bar](std::uint64_t received, std::uint64_t announced) {
    if (announced == 0) return;
    bar.setMax(100);
    bar.setPosition(static_cast<int>(std::min<std::uint64_t>(received * 100 / announced, 100)));
    updatePercentLabels();
  };
  auto outcome = online::PackageOutcome::NoInternet;
  ui::runWork(runTransfer, [&] {
    platform::HttpClient http(std::string(online::kOnlineAgent));
    outcome = online::fetchPackage(http, servers.package, programDir(), target, code, transfer);
  });

  switch (outcome) {
    case online::PackageOutcome::Done:
      return true;
    case online::PackageOutcome::NoInternet:
      dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgOnlineSearchError), ui::Buttons::Ok,
                           ui::Icon::Error);
      return false;
    case online::PackageOutcome::NoServer:
      dialogs().messageBox(text(TextId::TitleError), text(TextId::MsgServerConnectError), ui::Buttons::Ok,
                           ui::Icon::Error);
      return false;
    default:  // no entry, or the package could not be stored whole: the caller reports
      return false;
  }
}

}  // namespace kad
