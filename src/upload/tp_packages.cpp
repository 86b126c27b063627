// The RQV183TP's application packages: the list of a page set and the presence check.
#include "upload/tp_packages.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "shell/kad_main.h"

namespace kad {

namespace fs = std::filesystem;

std::vector<std::string> parsePackageList(std::string_view content) {
  std::vector<std::string> names;
  while (!content.empty()) {
    const auto end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const auto comma = line.find(',');
    names.emplace_back(comma == std::string_view::npos ? line : line.substr(comma + 1));
  }
  return names;
}

std::optional<std::vector<std::string>> readPackageListFile(const fs::path& pageSetDir) {
  const fs::path file = pageSetDir / kPackageListFile;
  std::error_code error;
  const auto size = fs::file_size(file, error);
  if (error || size > kMaxPackageListBytes) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string content{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return std::nullopt;
  return parsePackageList(content);
}

bool packagesPresentIn(const fs::path& pageSetDir, const TpPackageState& state) {
  std::error_code error;
  if (state.unitProtocolVersion <= 1) {
    return !state.oldUnitPackage.empty() && fs::is_regular_file(pageSetDir / state.oldUnitPackage, error);
  }
  if (state.packages.empty()) return false;
  for (const auto& name : state.packages) {
    // A name is a file of this folder; one with a separator names none.
    if (name.empty() || name.find_first_of("/\\") != std::string::npos ||
        !fs::is_regular_file(pageSetDir / (name + std::string(kPackageExtension)), error)) {
      return false;
    }
  }
  return true;
}

bool TKadMain::ReadPackageList() {
  auto list = readPackageListFile(pageSet.pageSetDir);
  tpPackages.packages = list ? std::move(*list) : std::vector<std::string>{};
  return list.has_value();
}

bool TKadMain::PackagesPresent() const { return packagesPresentIn(pageSet.pageSetDir, tpPackages); }

}  // namespace kad
