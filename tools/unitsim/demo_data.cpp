#include "demo_data.h"

#include <cstdio>
#include <fstream>

namespace kad::unitsim {
namespace {

constexpr std::size_t kWordsPerRecord = 8;  // keeps every record token well under 99 characters
constexpr std::uint16_t kHardwarePc = 'p' | ('c' << 8);  // first character in the low byte

void writeText(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::vector<std::uint16_t> pageWords(int page, int count) {
  std::vector<std::uint16_t> words(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) words[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(page * 0x100 + i);
  words[0] = 0x7E57;  // "TEST"
  if (count > 1) words[1] = static_cast<std::uint16_t>(page);
  if (count > 14) words[14] = kHardwarePc;
  if (page == 0 && count > 5) {
    words[4] = 200;  // the E1 equipment code
    words[5] = 1;    // page-format version
  }
  if (page == 0 && count > 155) {
    words[154] = words[155] = 0;  // equal check words: the unit may be written again
  }
  return words;
}

}  // namespace

std::string pageFileText(std::uint16_t loadAddress, const std::vector<std::uint16_t>& words) {
  auto record = [&](std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i) {
      char word[5];
      std::snprintf(word, sizeof word, "%04X", words[i]);
      text += word;
      text += i + 1 == to ? "7" : "B";
    }
    return text + "F0000F";  // checksum field and end tag: never read by the uploader
  };
  char header[32];
  std::snprintf(header, sizeof header, "K0000TESTDATA9%04XB", loadAddress);
  std::string text = header + record(0, std::min<std::size_t>(words.size(), kWordsPerRecord)) + "\n";
  for (std::size_t from = kWordsPerRecord; from < words.size(); from += kWordsPerRecord) {
    text += "B" + record(from, std::min(words.size(), from + kWordsPerRecord)) + "\n";
  }
  return text + ":\n";
}

void writeDemoProgramDirectory(const std::filesystem::path& programDir, int wordsPerPage) {
  writeText(programDir / "TEST-DATA.txt",
            "Everything in this folder was made by kad-unitsim for a demonstration: the RAM program\n"
            "\"user.tag\" and the page set RQV527E1/HARD_PF/ are synthetic test data, not firmware of\n"
            "any unit. Never write them to a real unit.\n");
  writeText(programDir / "user.tag", pageFileText(0x0800, pageWords(99, 64)));
  const auto pageSet = programDir / "RQV527E1" / "HARD_PF";
  for (int page = 0; page <= 20; ++page) {
    writeText(pageSet / ("page" + std::to_string(page) + ".tag"), pageFileText(0x8000, pageWords(page, wordsPerPage)));
  }
  writeText(pageSet / "page25.tag", pageFileText(0x8000, pageWords(25, wordsPerPage)));
  // The package is recorded as present, and nothing is asked at start.
  writeText(programDir / "DORN.ini",
            "[Atualiza]\nAutomatico=N?o\n[Version]\nVER_E1=1\n[Equipment]\nHARD_E1=$0pf.\n[Config]\nLanguage=English\n");
}

}  // namespace kad::unitsim
