#pragma once
// Synthetic firmware for demonstrations and tests: RAM programs and a page set in the
// page-file format, clearly marked as test data. None of it is firmware of any real unit.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kad::unitsim {

// A page file of the given words: a header record with the load address, then records of
// at most 8 words, each word as four hexadecimal digits.
std::string pageFileText(std::uint16_t loadAddress, const std::vector<std::uint16_t>& words);

// Fills a program directory for an E1 unit of the 20-page hardware line ("pc"): "user.tag",
// the page set "RQV527E1/HARD_PF/" (page0..page20, page25), a brand file that records the
// package as present and asks nothing at start, and a note saying that all of it is test data.
// Each page carries `wordsPerPage` words, its page number in word 1 and the hardware type in
// word 14; page 0 carries the E1 equipment code and page-format version 1.
void writeDemoProgramDirectory(const std::filesystem::path& programDir, int wordsPerPage = 512);

}  // namespace kad::unitsim
