#pragma once
#include <filesystem>

namespace kad::platform {

struct ZipReport {
  bool opened = false;  // the archive could be read at all
  int written = 0;      // files written
  int refused = 0;      // entries that would have landed outside the target folder, or links
  int failed = 0;       // entries that could not be read or written

  bool ok() const { return opened && refused == 0 && failed == 0; }
};

// Unpacks every entry of the archive into the target folder, creating folders as needed
// and overwriting files that are there. An entry whose name is absolute, climbs out with
// "..", or is a symbolic link is refused and nothing is written for it; no file is written
// through a link that already sits in the target folder. Each file is written under a
// temporary name and renamed into place, so a running program may be replaced. Unix
// permission bits stored in the archive are kept (without set-id bits).
ZipReport extractZip(const std::filesystem::path& archive, const std::filesystem::path& targetFolder);

}  // namespace kad::platform
