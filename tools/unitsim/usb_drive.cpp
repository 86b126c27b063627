#include "usb_drive.h"

#include <charconv>
#include <fstream>

#include "unit_state.h"

namespace kad::unitsim {
namespace {

using namespace std::chrono_literals;

// The most the unit reads of a record: the header and one whole page.
constexpr std::size_t kMaxRecordBytes = kRecordHeaderSize + 2 * kMaxPageWords;
constexpr std::size_t kMaxImageBytes = 4 * image::kWholeImageSize;
constexpr const char* kInitialLineup = "CH,FREQ_MHZ\n2,55.25\n3,61.25\n4,67.25\n";

std::optional<int> number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// Changes bytes at the start of the file without truncating it, as the unit rewrites its header.
bool overwriteStart(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The identity the drive shows, with a refusal fault applied; an error for a fault or option that
// does not fit the model.
std::optional<std::string> identityWithFault(UnitIdentity& identity, const UsbFault& fault) {
  const auto kind = exchangeKind(identity.model);
  if (!kind) return std::string(modelName(identity.model)) + " has no USB link";
  if (fault.kind == UsbFault::Kind::WrongModel) {
    if (*kind != ExchangeKind::Image) return std::string("wrong-model applies to the models updated as one image");
    identity.modelByte = foreignModelByte(identity.model);
  }
  if (fault.kind == UsbFault::Kind::WrongFamily) {
    if (*kind != ExchangeKind::PageRecords) return std::string("wrong-family applies to the page-by-page models");
    identity.familyCode = foreignFamilyCode(identity.model);
  }
  if (identity.lineup && normalizedModel(identity.model) != EquipmentModel::CATV)
    return std::string("only the CATV unit holds a line-up file");
  return std::nullopt;
}

}  // namespace

std::optional<UsbFault> parseUsbFault(std::string_view text) {
  UsbFault fault;
  const auto colon = text.find(':');
  const auto name = text.substr(0, colon);
  const auto rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  if (name == "never" || name == "wrong-model" || name == "wrong-family") {
    if (!rest.empty()) return std::nullopt;
    fault.kind = name == "never" ? UsbFault::Kind::Never
                 : name == "wrong-model" ? UsbFault::Kind::WrongModel
                                         : UsbFault::Kind::WrongFamily;
    return fault;
  }
  if (name != "late" && name != "vanish") return std::nullopt;
  fault.kind = name == "late" ? UsbFault::Kind::Late : UsbFault::Kind::Vanish;
  const auto second = rest.find(':');
  const auto record = number(rest.substr(0, second));
  if (!record) return std::nullopt;
  fault.record = *record;
  if (second != std::string_view::npos) {
    const auto delay = number(rest.substr(second + 1));
    if (!delay || fault.kind != UsbFault::Kind::Late) return std::nullopt;
    fault.delay = std::chrono::milliseconds(*delay);
  }
  return fault;
}

UsbDriveUnit::UsbDriveUnit(UsbUnitOptions options) : options_(std::move(options)) {}

UsbDriveUnit::~UsbDriveUnit() { stop(); }

std::filesystem::path UsbDriveUnit::imagePath(int which) const {
  return options_.drive / (which == 0 ? kExchangeFileName : kLineupFileName);
}

bool UsbDriveUnit::plugIn(std::string& error) {
  std::lock_guard lock(mutex_);
  UnitIdentity identity = options_.identity;
  if (auto refused = identityWithFault(identity, options_.fault)) {
    error = *refused;
    return false;
  }
  unit_.emplace(identity);
  std::error_code ignored;
  std::filesystem::create_directories(options_.drive, ignored);
  if (!writeFile(imagePath(0), unit_->exchangeFile())) {
    error = "cannot write " + imagePath(0).string();
    return false;
  }
  if (identity.lineup && !writeFile(imagePath(1), std::span(reinterpret_cast<const std::uint8_t*>(kInitialLineup),
                                                            std::char_traits<char>::length(kInitialLineup)))) {
    error = "cannot write " + imagePath(1).string();
    return false;
  }
  if (unit_->memory().kind == ExchangeKind::Image) {
    ageFile(0);
    if (identity.lineup) ageFile(1);
  }
  if (!options_.stateFile.empty()) saveState(unit_->memory(), options_.stateFile);
  return true;
}

std::optional<UsbDriveUnit::FileStamp> UsbDriveUnit::stampOf(const std::filesystem::path& path) const {
  std::error_code error;
  FileStamp stamp;
  stamp.size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  stamp.written = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return stamp;
}

// Dates the file an hour back, so that any write by the uploader (even one within the same clock
// tick as the unit's own) shows as a change.
void UsbDriveUnit::ageFile(int which) {
  std::error_code ignored;
  std::filesystem::last_write_time(imagePath(which), std::filesystem::file_time_type::clock::now() - 1h, ignored);
  agedStamp_[which] = stampOf(imagePath(which));
}

bool UsbDriveUnit::dueNow(const Sighting& sighting, std::chrono::steady_clock::time_point now) const {
  const auto& fault = options_.fault;
  if (fault.kind == UsbFault::Kind::Never) return false;
  const auto next = static_cast<int>(unit_->memory().events.size()) + 1;
  if (fault.kind == UsbFault::Kind::Late && next == fault.record) return now - sighting.since >= fault.delay;
  return true;
}

void UsbDriveUnit::poll(std::chrono::steady_clock::time_point now) {
  std::lock_guard lock(mutex_);
  if (!unit_ || unit_->memory().vanished) return;
  if (unit_->memory().kind == ExchangeKind::PageRecords) {
    pollRecord(now);
  } else {
    pollImage(0, now);
    if (agedStamp_[1]) pollImage(1, now);
  }
}

void UsbDriveUnit::pollRecord(std::chrono::steady_clock::time_point now) {
  const auto path = imagePath(0);
  const auto start = readFile(path, 1);
  const auto stamp = stampOf(path);
  if (start.empty() || start[0] != 0xF0 || !stamp) {
    pending_.reset();
    return;
  }
  // A record is taken once the file has stayed unchanged for one pause, so that the uploader has
  // finished writing its words after the header.
  if (!pending_) {
    pending_ = Sighting{*stamp, now};
    return;
  }
  if (pending_->stamp != *stamp) {
    pending_->stamp = *stamp;
    return;
  }
  if (!dueNow(*pending_, now)) return;
  pending_.reset();

  const auto header = unit_->takeRecord(readFile(path, kMaxRecordBytes));
  if (unit_->memory().events.back().lastRecord()) {
    // The unit finishes the update on its own and shows its new page 0.
    writeFile(path, unit_->exchangeFile());
  } else {
    overwriteStart(path, header);
  }
  afterTaking();
}

void UsbDriveUnit::pollImage(int which, std::chrono::steady_clock::time_point now) {
  const auto path = imagePath(which);
  const auto stamp = stampOf(path);
  if (!stamp || stamp == agedStamp_[which] || stamp->size == 0) {
    pendingImage_[which].reset();
    return;
  }
  auto& pending = pendingImage_[which];
  if (!pending) {
    pending = Sighting{*stamp, now};
    return;
  }
  if (pending->stamp != *stamp) {
    pending->stamp = *stamp;
    return;
  }
  if (!dueNow(*pending, now)) return;
  pending.reset();
  unit_->storeImage(path.filename().string(), readFile(path, kMaxImageBytes));
  ageFile(which);
  afterTaking();
}

void UsbDriveUnit::afterTaking() {
  const auto& fault = options_.fault;
  if (fault.kind == UsbFault::Kind::Vanish && static_cast<int>(unit_->memory().events.size()) >= fault.record) {
    std::error_code ignored;
    std::filesystem::remove_all(options_.drive, ignored);
    unit_->markVanished();
  }
  if (!options_.stateFile.empty()) saveState(unit_->memory(), options_.stateFile);
}

void UsbDriveUnit::start() {
  if (thread_.joinable()) return;
  stopRequested_ = false;
  thread_ = std::thread([this] {
    while (!stopRequested_) {
      poll(std::chrono::steady_clock::now());
      std::this_thread::sleep_for(options_.pollInterval);
    }
  });
}

void UsbDriveUnit::stop() {
  stopRequested_ = true;
  if (thread_.joinable()) thread_.join();
}

UnitMemory UsbDriveUnit::memory() const {
  std::lock_guard lock(mutex_);
  return unit_ ? unit_->memory() : UnitMemory{};
}

bool UsbDriveUnit::finished() const {
  std::lock_guard lock(mutex_);
  return unit_ && unit_->memory().finished;
}

bool UsbDriveUnit::vanished() const {
  std::lock_guard lock(mutex_);
  return unit_ && unit_->memory().vanished;
}

}  // namespace kad::unitsim
