// Times loading a full page file (65,536 words) from disk: reading and parsing, as the
// loader does for every page of an upload.
#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pagesets/page_file.h"

namespace {

// 8,192 records of 8 words each, laid out as the maker's tools write them.
std::string fullPageText() {
  std::string text = "K0000PAGE1TAG90000";
  char word[8];
  for (std::size_t i = 0; i < kad::kMaxPageWords; ++i) {
    const bool firstOfRecord = i % 8 == 0;
    const bool lastOfRecord = i % 8 == 7;
    if (firstOfRecord) text += "B";  // the header's data tag, or a data record's first tag
    std::snprintf(word, sizeof word, "%04X", static_cast<unsigned>((i * 40503u) & 0xFFFF));
    text += word;
    text += lastOfRecord ? "7F1A2F\n" : "B";
  }
  return text + ":\n";
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const auto path = std::filesystem::temp_directory_path() / "kad_bench_page1.tag";
  std::ofstream(path, std::ios::binary) << fullPageText();

  std::vector<double> millis;
  std::size_t words = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = kad::readPageFile(path);
    const auto stop = std::chrono::steady_clock::now();
    if (!result.page) {
      std::fprintf(stderr, "page file refused: %s\n", std::string(kad::describePageFileFault(result.fault)).c_str());
      return 1;
    }
    words = result.page->words.size();
    millis.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::filesystem::remove(path);
  std::sort(millis.begin(), millis.end());
  std::printf("loaded %zu words (%ju bytes) %d times: min %.3f ms, median %.3f ms, max %.3f ms\n", words,
              static_cast<std::uintmax_t>(fullPageText().size()), runs, millis.front(), millis[millis.size() / 2],
              millis.back());
  return 0;
}
