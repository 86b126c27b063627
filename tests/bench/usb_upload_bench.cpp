// A 20-page E1 upload over the USB link against the simulated unit, in real time: how long it
// takes against the floor the 500 ms polls set, and how much processor time the program used
// while it waited for the unit.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/kad_main.h"
#include "support/scripted_dialogs.h"
#include "support/manual_loop.h"
#include "support/temp_dir.h"
#include "demo_data.h"
#include "usb_drive.h"

namespace {

using namespace kad;
namespace fs = std::filesystem;

// A page of `count` words counting up from `mark`.
std::string pageOf(std::size_t count, std::uint16_t mark) {
  std::vector<std::uint16_t> words(count);
  for (std::size_t i = 0; i < count; ++i) words[i] = static_cast<std::uint16_t>(mark + i);
  return unitsim::pageFileText(0x8000, words);
}

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

class NoProcesses final : public platform::Processes {
 public:
  bool start(const fs::path&, const std::vector<std::string>&, const fs::path&) override { return true; }
};

}  // namespace

int main() {
  test::TempDir dir;
  const fs::path programDir = dir.path() / "";
  const fs::path pages = dir.path() / "pages";
  fs::create_directories(pages);
  // Page files of a real page's size (32,768 words, the first half of a FLASH page).
  constexpr std::size_t kWords = 32768;
  std::ofstream(programDir / "user.tag") << pageOf(2048, 1);
  for (int page = 0; page <= 25; ++page) {
    std::ofstream(pages / ("page" + std::to_string(page) + ".tag")) << pageOf(kWords, static_cast<std::uint16_t>(page));
  }
  std::ofstream(programDir / "DORN.ini") << "[Config]\nLanguage=English\n[Atualiza]\nAutomatico=N?o\n";

  unitsim::UsbUnitOptions options;
  options.drive = dir.path() / "unit";
  options.pollInterval = std::chrono::milliseconds(50);
  unitsim::UsbDriveUnit unit(options);
  std::string error;
  if (!unit.plugIn(error)) {
    std::fprintf(stderr, "simulated unit: %s\n", error.c_str());
    return 1;
  }
  ::setenv("KAD_USB_DRIVES", options.drive.c_str(), 1);
  unit.start();  // the unit looks at its drive on its own thread, as a real one does

  test::ScriptedDialogs dialogs;
  test::ManualLoop loop;
  platform::SystemClock clock;
  NoProcesses processes;
  TKadMain main("Cliente", {programDir, dialogs, loop, clock, processes});
  main.FormCreate();
  dialogs.expectMessage("Plug the USB in the unit");
  main.ButIniciarClick();
  main.pageSet.pageSetDir = pages;
  dialogs.expectMessage("Operation complete.");

  rusage before{};
  rusage after{};
  ::getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  main.startUploadThread();
  main.uploadThread.join();
  const auto wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ::getrusage(RUSAGE_SELF, &after);
  unit.stop();

  const auto memory = unit.memory();
  const std::size_t records = memory.events.size();
  // A wait of at least one poll before each of the 20 pages, the second half of page 12 and
  // page 0; the unit takes page 0 after the program has let go.
  constexpr int kWaits = 22;
  const double floor = 0.5 * kWaits;
  const double user = seconds(after.ru_utime) - seconds(before.ru_utime);
  const double system = seconds(after.ru_stime) - seconds(before.ru_stime);
  std::printf("records taken by the unit during the upload: %zu (page 0 follows after the program lets go)\n", records);
  std::printf("wall time: %.2f s; floor of the 500 ms polls: %.2f s (%d waits)\n", wall, floor, kWaits);
  std::printf("CPU time of the whole process (program and simulated unit): user %.2f s, system %.2f s, %.1f %% of wall\n",
              user, system, 100.0 * (user + system) / wall);
  std::printf("log lines: %zu\n", main.form["ListStatus"].items().size());
  return records >= 22 ? 0 : 1;
}
