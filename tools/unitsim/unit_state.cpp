#include "unit_state.h"

#include <charconv>
#include <fstream>
#include <iomanip>
#include <sstream>

namespace kad::unitsim {
namespace {

constexpr const char* kMagic = "kad-unitsim-state";
constexpr int kFormatVersion = 1;
constexpr std::size_t kMaxDataFile = 1 << 24;  // no state holds more than this in one file

std::string_view kindName(EventKind kind) {
  switch (kind) {
    case EventKind::RamProgram: return "ram";
    case EventKind::Page: return "page";
    case EventKind::SecondHalf: return "second-half";
    case EventKind::Image: return "image";
  }
  return "page";
}

std::optional<EventKind> kindFromName(std::string_view name) {
  for (auto kind : {EventKind::RamProgram, EventKind::Page, EventKind::SecondHalf, EventKind::Image})
    if (kindName(kind) == name) return kind;
  return std::nullopt;
}

std::string hex(std::span<const std::uint8_t> bytes) {
  std::ostringstream out;
  for (const auto b : bytes) out << std::hex << std::setw(2) << std::setfill('0') << int{b};
  return out.str();
}

template <std::size_t N>
bool fromHex(std::string_view text, std::array<std::uint8_t, N>& bytes) {
  if (text.size() != 2 * N) return false;
  for (std::size_t i = 0; i < N; ++i) {
    unsigned value = 0;
    for (std::size_t k = 0; k < 2; ++k) {
      const char c = text[2 * i + k];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return false;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    bytes[i] = static_cast<std::uint8_t>(value);
  }
  return true;
}

std::optional<std::uint32_t> parseHex32(std::string_view text) {
  if (!text.starts_with("0x")) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string hex16(unsigned value) {
  std::ostringstream out;
  out << "0x" << std::hex << std::setw(4) << std::setfill('0') << value;
  return out.str();
}

std::string hex32(std::uint32_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << std::setw(8) << std::setfill('0') << value;
  return out.str();
}

bool writeAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  const auto temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  return !error;
}

std::vector<std::uint8_t> wordsAsBytes(std::span<const std::uint16_t> words) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(2 * words.size());
  for (const auto w : words) {
    bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
  }
  return bytes;
}

std::optional<std::vector<std::uint8_t>> readData(const std::filesystem::path& path, std::size_t expected) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size != expected || size > kMaxDataFile) return std::nullopt;
  std::vector<std::uint8_t> bytes(size);
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (!in) return std::nullopt;
  return bytes;
}

std::optional<std::vector<std::uint16_t>> readWords(const std::filesystem::path& path, std::size_t count) {
  const auto bytes = readData(path, 2 * count);
  if (!bytes) return std::nullopt;
  std::vector<std::uint16_t> words(count);
  for (std::size_t n = 0; n < count; ++n)
    words[n] = static_cast<std::uint16_t>(((*bytes)[2 * n] << 8) | (*bytes)[2 * n + 1]);
  return words;
}

std::string pagePath(int page) { return "page-" + std::to_string(page) + ".bin"; }
std::string imagePath(int event) { return "image-" + std::to_string(event) + ".bin"; }

void describeEvent(std::ostringstream& out, const UnitEvent& e) {
  out << "  " << e.index << ' ';
  switch (e.kind) {
    case EventKind::RamProgram: out << "RAM program"; break;
    case EventKind::Page: out << "page " << e.page; break;
    case EventKind::SecondHalf: out << "page " << e.page << " (second half of page " << e.halfOf << ')'; break;
    case EventKind::Image:
      out << "image " << e.file << ": " << e.byteCount << " bytes, crc " << hex32(e.crc) << '\n';
      return;
  }
  out << (e.lastRecord() ? " (last)" : "") << ": " << e.wordCount << " words, crc " << hex32(e.crc)
      << ", length field " << e.lengthField() << ", stamp half " << hex16(e.stampHalf())
      << (e.echoOk ? "" : ", header bytes not echoed") << (e.formatOk ? "" : ", malformed header") << '\n';
}

void describePageZero(std::ostringstream& out, const UnitMemory& memory) {
  const auto words = memory.pageZero();
  out << "page 0 identity:\n"
      << "  family code " << words[word::kFamilyCode] << ", revision " << words[word::kRevision] << '\n'
      << "  hardware type " << hex16(words[word::kHardwareType]) << " \""
      << hardwareTypeText(words[word::kHardwareType]) << "\"\n"
      << "  client \"" << wordsText(words, word::kClientName, 16) << "\", name spare " << words[word::kNameSpare]
      << '\n'
      << "  serial \"" << wordsText(words, word::kSerialNumber, 9) << "\"\n"
      << "  versions \"" << wordsText(words, word::kVersions, 13) << "\"\n"
      << "  module words 112-136:";
  for (std::size_t n = word::kModuleWordsA; n < word::kModuleWord; ++n) out << ' ' << hex16(words[n]);
  out << "\n  module word " << hex16(words[word::kModuleWord]);
  if (const auto page15 = memory.flash.find(15); page15 != memory.flash.end() && page15->second.size() > 16)
    out << " (page 15 word 16: " << hex16(page15->second[16]) << ')';
  out << "\n  check words " << hex16(words[word::kCheckWords]) << ' ' << hex16(words[word::kCheckWords + 1])
      << "\n  calibration words " << hex16(words[word::kCalibration]) << ' '
      << hex16(words[word::kCalibration + 1]) << '\n';
}

void describeImage(std::ostringstream& out, int index, const std::vector<std::uint8_t>& bytes) {
  out << "image of event " << index << ": " << bytes.size() << " bytes, crc " << hex32(crc32(bytes)) << '\n';
  if (bytes.size() < image::kPreservedSize) return;
  auto text = [&](std::size_t offset, std::size_t size) {
    std::string s;
    for (std::size_t i = offset; i < offset + size && bytes[i] != 0; ++i) s += static_cast<char>(bytes[i]);
    return s;
  };
  out << "  identity header: serial \"" << text(image::kSerialNumber, 10) << "\", client \""
      << text(image::kClientName, 14) << "\", sliver \"" << text(image::kSliver, 4) << "\", equip \""
      << text(image::kEquip, 4) << "\", hardware type \"" << text(image::kHardwareType, 3) << "\", model byte "
      << int{bytes[image::kModelByte]} << '\n'
      << "  preserved area crc " << hex32(crc32(std::span(bytes).first(image::kPreservedSize)))
      << ", program area crc " << hex32(crc32(std::span(bytes).subspan(image::kPreservedSize))) << '\n';
}

}  // namespace

std::filesystem::path stateDataFolder(const std::filesystem::path& stateFile) {
  return std::filesystem::path(stateFile.string() + ".d");
}

bool saveState(const UnitMemory& memory, const std::filesystem::path& stateFile) {
  const auto folder = stateDataFolder(stateFile);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return false;

  std::ostringstream text;
  text << kMagic << ' ' << kFormatVersion << '\n'
       << "model " << modelName(memory.model) << '\n'
       << "kind " << (memory.kind == ExchangeKind::Image ? "image" : "page-records") << '\n'
       << "finished " << memory.finished << '\n'
       << "vanished " << memory.vanished << '\n'
       << "header " << hex(memory.header) << '\n';
  for (const auto& e : memory.events) {
    text << "event " << e.index << ' ' << kindName(e.kind) << " page " << e.page << " half-of " << e.halfOf
         << " raw " << hex(e.header) << " words " << e.wordCount << " file " << (e.file.empty() ? "-" : e.file)
         << " bytes " << e.byteCount << " crc " << hex32(e.crc) << " echo " << e.echoOk << " format " << e.formatOk
         << '\n';
  }
  bool ok = true;
  if (!memory.ramProgram.empty()) {
    text << "ram " << memory.ramProgram.size() << '\n';
    ok &= writeAtomically(folder / "ram.bin", wordsAsBytes(memory.ramProgram));
  }
  for (const auto& [page, words] : memory.flash) {
    text << "flash " << page << ' ' << words.size() << '\n';
    ok &= writeAtomically(folder / pagePath(page), wordsAsBytes(words));
  }
  for (const auto& [index, bytes] : memory.images) {
    text << "image " << index << ' ' << bytes.size() << '\n';
    ok &= writeAtomically(folder / imagePath(index), bytes);
  }
  const auto textBytes = text.str();
  return ok && writeAtomically(stateFile, std::span(reinterpret_cast<const std::uint8_t*>(textBytes.data()),
                                                    textBytes.size()));
}

std::optional<UnitMemory> loadState(const std::filesystem::path& stateFile) {
  std::ifstream in(stateFile);
  std::string magic;
  int version = 0;
  if (!(in >> magic >> version) || magic != kMagic || version != kFormatVersion) return std::nullopt;
  const auto folder = stateDataFolder(stateFile);
  UnitMemory memory;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    if (key == "model") {
      std::string name;
      fields >> name;
      const auto model = modelFromName(name);
      if (!model) return std::nullopt;
      memory.model = *model;
    } else if (key == "kind") {
      std::string kind;
      fields >> kind;
      memory.kind = kind == "image" ? ExchangeKind::Image : ExchangeKind::PageRecords;
    } else if (key == "finished") {
      fields >> memory.finished;
    } else if (key == "vanished") {
      fields >> memory.vanished;
    } else if (key == "header") {
      std::string hexText;
      fields >> hexText;
      if (!fromHex(hexText, memory.header)) return std::nullopt;
    } else if (key == "event") {
      UnitEvent e;
      std::string kind, raw, file, crc, label;
      fields >> e.index >> kind >> label >> e.page >> label >> e.halfOf >> label >> raw >> label >> e.wordCount >>
          label >> file >> label >> e.byteCount >> label >> crc >> label >> e.echoOk >> label >> e.formatOk;
      const auto eventKind = kindFromName(kind);
      const auto crcValue = parseHex32(crc);
      if (!fields || !eventKind || !crcValue || !fromHex(raw, e.header)) return std::nullopt;
      e.kind = *eventKind;
      e.file = file == "-" ? "" : file;
      e.crc = *crcValue;
      memory.events.push_back(e);
    } else if (key == "ram" || key == "flash" || key == "image") {
      int number = 0;
      std::size_t size = 0;
      if (key != "ram") fields >> number;
      fields >> size;
      if (!fields) return std::nullopt;
      if (key == "image") {
        auto bytes = readData(folder / imagePath(number), size);
        if (!bytes) return std::nullopt;
        memory.images[number] = std::move(*bytes);
        continue;
      }
      auto words = readWords(folder / (key == "ram" ? std::string("ram.bin") : pagePath(number)), size);
      if (!words) return std::nullopt;
      (key == "ram" ? memory.ramProgram : memory.flash[number]) = std::move(*words);
    }
  }
  return memory;
}

std::string describeMemory(const UnitMemory& memory) {
  std::ostringstream out;
  out << "model " << modelName(memory.model) << " ("
      << (memory.kind == ExchangeKind::Image ? "updated as one image" : "updated page by page") << ")"
      << (memory.finished ? ", update finished" : "") << (memory.vanished ? ", drive removed" : "") << '\n'
      << "header bytes 0-7: " << hex(memory.header) << '\n'
      << "taken in order (" << memory.events.size() << "):\n";
  for (const auto& e : memory.events) describeEvent(out, e);
  if (memory.kind == ExchangeKind::PageRecords) {
    out << "flash pages:";
    for (const auto& [page, words] : memory.flash) out << ' ' << page << '(' << words.size() << ')';
    out << '\n';
    describePageZero(out, memory);
  }
  for (const auto& [index, bytes] : memory.images) describeImage(out, index, bytes);
  return out.str();
}

}  // namespace kad::unitsim
