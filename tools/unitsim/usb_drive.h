#pragma once
// The USB front end of the simulated unit: a folder that stands for the unit's removable drive,
// holding the exchange file, watched the way the unit watches it.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "unit_flash.h"

namespace kad::unitsim {

struct UsbFault {
  enum class Kind { None, Never, Late, Vanish, WrongModel, WrongFamily };
  Kind kind = Kind::None;
  int record = 0;                          // Late, Vanish: which record (from 1)
  std::chrono::milliseconds delay{1250};   // Late: how long the record waits (the engine's third poll)
};

// "never", "late:N", "late:N:MS", "vanish:N", "wrong-model", "wrong-family"; empty when malformed.
std::optional<UsbFault> parseUsbFault(std::string_view text);

struct UsbUnitOptions {
  std::filesystem::path drive;
  UnitIdentity identity;
  UsbFault fault;
  std::filesystem::path stateFile;  // empty: no state file
  std::chrono::milliseconds pollInterval{50};
};

class UsbDriveUnit {
 public:
  explicit UsbDriveUnit(UsbUnitOptions options);
  ~UsbDriveUnit();
  UsbDriveUnit(const UsbDriveUnit&) = delete;
  UsbDriveUnit& operator=(const UsbDriveUnit&) = delete;

  // Shows the drive: creates the folder and the exchange file(s). False with a reason on failure
  // (a model without a USB link, a folder that cannot be written).
  bool plugIn(std::string& error);

  // One look at the drive, as the unit's firmware does between its pauses. `now` decides when a
  // late record is taken, so a test can drive it without waiting.
  void poll(std::chrono::steady_clock::time_point now);

  // Polls on a thread of its own every pollInterval until stop() (or destruction).
  void start();
  void stop();

  UnitMemory memory() const;  // a copy, safe while the thread runs
  bool finished() const;
  bool vanished() const;

 private:
  struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    bool operator==(const FileStamp&) const = default;
  };
  struct Sighting {  // a change seen but not yet taken
    FileStamp stamp;
    std::chrono::steady_clock::time_point since;
  };

  void pollRecord(std::chrono::steady_clock::time_point now);
  void pollImage(int which, std::chrono::steady_clock::time_point now);
  bool dueNow(const Sighting& sighting, std::chrono::steady_clock::time_point now) const;
  void afterTaking();
  std::optional<FileStamp> stampOf(const std::filesystem::path& path) const;
  void ageFile(int which);
  std::filesystem::path imagePath(int which) const;

  UsbUnitOptions options_;
  mutable std::mutex mutex_;
  std::optional<Unit> unit_;                  // made when the drive is plugged in
  std::optional<Sighting> pending_;           // a record waiting (byte 0 is 0xF0)
  std::optional<Sighting> pendingImage_[2];   // firmware.bin, line-up.csv written anew
  std::optional<FileStamp> agedStamp_[2];     // the files as the unit left them
  std::thread thread_;
  std::atomic<bool> stopRequested_{false};
};

}  // namespace kad::unitsim
