#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "demo_data.h"
#include "support/kad_harness.h"
#include "usb_drive.h"

namespace kad::test {

// The words of a test page: a mark of the page in word 0, its length beyond page 0's personal
// data so that the client block, the calibration words and page 15's module word land in it.
inline std::vector<std::uint16_t> pageWords(std::uint16_t mark) {
  std::vector<std::uint16_t> words(200);
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = static_cast<std::uint16_t>(mark * 0x100 + (i & 0xFF));
  words[0] = mark;
  return words;
}

// The marks the page files of a test page set carry in word 0.
inline std::uint16_t markOf(const std::string& fileName) {
  std::uint16_t sum = 0;
  for (const char c : fileName) sum = static_cast<std::uint16_t>(sum * 31 + static_cast<unsigned char>(c));
  return static_cast<std::uint16_t>(sum | 0x8000);
}

// A main window (English, customer build unless told) with a simulated unit on a folder that
// stands for its USB drive, and a page set of marked page files. KAD_USB_DRIVES lists the
// drive folders for the time of the test.
class UsbFixture {
 public:
  explicit UsbFixture(std::string profile = "Cliente") : h(std::move(profile)) {
    h.writeFile("DORN.ini", "[Config]\nLanguage=English\n[Atualiza]\nAutomatico=N?o\n");
    for (const char* ram : {"user.tag", "flash_r2.tag"}) writePage(h.programDir() / ram);
    std::filesystem::create_directories(pageSet());
    std::vector<std::string> names = {"page0.tag", "page25.tag", "x25.tag", "x50r.tag", "x50c.tag", "chdlc.tag",
                                      "dtmf.tag",  "isdn.tag",   "tc3.tag", "pms.tag",  "eth.tag"};
    for (int page = 1; page <= 20; ++page) names.push_back("page" + std::to_string(page) + ".tag");
    for (const auto& name : names) writePage(pageSet() / name);
    setDrives({unitDrive()});
  }
  ~UsbFixture() { ::unsetenv("KAD_USB_DRIVES"); }

  std::filesystem::path unitDrive() const { return h.dir.path() / "unit"; }
  std::filesystem::path pageSet() const { return h.dir.path() / "pages"; }

  static void writePage(const std::filesystem::path& file) {
    std::ofstream(file, std::ios::binary) << unitsim::pageFileText(0x8000, pageWords(markOf(file.filename().string())));
  }
  static void setDrives(const std::vector<std::filesystem::path>& drives) {
    std::string list;
    for (const auto& drive : drives) list += (list.empty() ? "" : ":") + drive.string();
    ::setenv("KAD_USB_DRIVES", list.c_str(), 1);
  }

  // Plugs the unit in and lets it look at its drive whenever the program pauses.
  unitsim::UsbDriveUnit& plugIn(unitsim::UnitIdentity identity = {}, unitsim::UsbFault fault = {}) {
    unitsim::UsbUnitOptions options;
    options.drive = unitDrive();
    options.identity = identity;
    options.fault = fault;
    unit = std::make_unique<unitsim::UsbDriveUnit>(options);
    std::string error;
    EXPECT_TRUE(unit->plugIn(error)) << error;
    h.clock.onSleep = [this] { unit->poll(h.clock.now()); };
    return *unit;
  }

  // These tests drive the upload thread themselves, so the automatic "Gravar páginas" after
  // the identification does nothing here.
  TKadMain& start(EquipmentModel model = EquipmentModel::E1) {
    auto& main = h.start();
    main["ButPaginas"].onClick = nullptr;
    if (model != EquipmentModel::E1) main.selectModel(model);
    return main;
  }

  // "Estabelecer Conexão" with its instruction box answered; the page set is then the one of
  // the fixture, as the write preparation would choose it.
  void connect(const char* instruction = "Plug the USB in the unit") {
    h.dialogs.expectMessage(instruction);
    h.main->ButIniciarClick();
    h.main->pageSet.pageSetDir = pageSet();
  }
  // Runs the upload thread to its end.
  void upload() {
    h.main->startUploadThread();
    h.main->uploadThread.join();
  }
  // The unit looks at its drive a few more times (an image is taken once it stays unchanged).
  void letUnitLook() {
    for (int i = 0; i < 3; ++i) {
      h.clock.advance(std::chrono::milliseconds(500));
      unit->poll(h.clock.now());
    }
  }

  void expectIdleWindow() const {
    auto& m = *h.main;
    EXPECT_TRUE(m["ButIniciar"].enabled());
    EXPECT_FALSE(m["ButCancelar"].enabled());
    EXPECT_FALSE(m["ButPaginas"].enabled());
    EXPECT_FALSE(m["ButEspecial"].enabled());
    EXPECT_TRUE(m.connection.connectionClosed);
  }

  KadHarness h;
  std::unique_ptr<unitsim::UsbDriveUnit> unit;
};

}  // namespace kad::test
