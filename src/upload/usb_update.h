#pragma once
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "models/model_catalogue.h"
#include "pagesets/usb_exchange.h"
#include "platform/clock.h"

namespace kad {

// The state of a USB connection. The drive root, the header and the preserved area belong to
// the thread doing the connection or the upload; the request flags are also cleared by the
// connection end from any thread.
struct UsbUpdateState {
  std::filesystem::path unitDriveRoot;    // UnitDriveRoot
  RecordHeader record;                    // header fields of the next record, and the unit's last eight bytes
  std::vector<std::uint8_t> unitPreservedArea;  // UnitPreservedArea: the image models' first 20,480 bytes
  std::uint32_t uploadTimeStamp = 0;      // UploadTimeStamp
  std::atomic<bool> readHeaderRequested{false};    // ReadHeaderRequested
  std::atomic<bool> readIdentityRequested{false};  // ReadIdentityRequested
};

inline constexpr std::chrono::milliseconds kUsbPollInterval{500};
// The drive is checked from this read on, and the unit gives up after the last one.
inline constexpr int kFirstDriveCheckPoll = 21;
inline constexpr int kLastPoll = 23;
// The identity fields end at byte 388; a shorter exchange file is not a unit's.
inline constexpr std::size_t kMinUnitFileBytes = 388;

// The unit's identity and personal data as its exchange file holds them, texts cleaned.
struct UnitFileFields {
  std::string clientName, serialNumber, cpuVersion, equipVersion, batteryVersion, sliver, hardwareType;
  UnitIdentity words;
  std::uint16_t hardwareTypeWord = 0;
  std::array<std::uint16_t, 16> words112To127{};
  std::array<std::uint16_t, 9> words128To136{};
  std::uint16_t moduleWord = 0;
  std::array<std::uint16_t, 2> calibrationWords{};
};

// Reads the fields of a unit file; `imageModel` selects the layout of the models written as
// one image. Bytes past the end of the data read as zero.
UnitFileFields parseUnitFile(std::span<const std::uint8_t> data, bool imageModel);

// The serial number "1234567" as "12.34.567" (points already in the text are dropped first).
std::string formatSerialNumber(std::string digits);

// Seconds since 1970-01-01 of the local time plus one second, computed from the clock's
// fields as the unit expects them.
std::uint32_t uploadTimeStampFor(const platform::LocalDateTime& local);

}  // namespace kad
