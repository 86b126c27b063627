#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_mode.h"
#include "models/equipment_model.h"
#include "shell/profile.h"

namespace kad {

// A FLASH page holds at most this many 16-bit words; a half page (bank) holds half of it.
inline constexpr std::size_t kMaxPageWords = 65536;
inline constexpr std::size_t kBankWords = 32768;
// The longest token a page file may hold.
inline constexpr std::size_t kMaxTokenLength = 99;
// A full page file is about 400 KB; anything far larger is not a page file.
inline constexpr std::uintmax_t kMaxPageFileBytes = 16u * 1024 * 1024;

// Word indices of page 0 (and, for the hardware type, of every page) read by the checks.
inline constexpr std::size_t kEquipmentCodeWord = 4;
inline constexpr std::size_t kFormatVersionWord = 5;
inline constexpr std::size_t kHardwareTypeWord = 14;
inline constexpr std::uint16_t kOldHardwareType = 0x8B00;

// The page just loaded: the only carrier of page data between loading and writing.
struct PageImage {
  std::vector<std::uint16_t> words;  // PageWords, exactly PageWordCount of them
  std::uint16_t loadAddress = 0;     // PageLoadAddress: only set by the RAM programs

  std::size_t wordCount() const { return words.size(); }
  // Words past the end of the page read as zero, so a short page never reads outside it.
  std::uint16_t wordAt(std::size_t index) const { return index < words.size() ? words[index] : 0; }
};

// Why a page file was refused. Every kind goes through the "Error opening ..." path.
enum class PageFileFault {
  CannotOpen,         // missing, a folder, or unreadable
  TooLarge,           // far beyond any page file
  Empty,              // no token at all
  HeaderIsEndOrSkip,  // the first token is the end token or a 'C' token
  NoEndToken,         // the file ends before a token starting with ':'
  TokenTooLong,       // a token of more than 99 characters
  NoChecksumTag,      // a record's words run off its token without the '7' tag
  BadHexDigit,        // a load address or data word that is not 4 hexadecimal digits
  TooManyWords,       // more than a page holds
};

std::string_view describePageFileFault(PageFileFault fault);

// What the text of a page file holds, before the load rules of the program apply.
struct ParsedPageFile {
  std::vector<std::uint16_t> words;
  std::uint16_t headerLoadAddress = 0;
  std::size_t recordCount = 0;  // one progress step each
};

struct PageFileResult {
  std::optional<ParsedPageFile> page;  // empty when refused
  PageFileFault fault = PageFileFault::CannotOpen;
};

// Reads the TI-Tagged text of one page file. Bounded for any input: never reads past
// `text`, never keeps more than a page of words.
PageFileResult parsePageText(std::string_view text);

// Reads and parses the page file at `path`.
PageFileResult readPageFile(const std::filesystem::path& path);

// The header's load address counts only for the RAM programs of the program directory, and
// not on the USB link, where they travel as an ordinary record.
bool takesLoadAddress(const std::filesystem::path& pageFile, const std::filesystem::path& programDir, LinkMode link);

// Loading "x50r.tag" (exactly, case-sensitive) arms the second half "x50c.tag".
bool isX50rFile(const std::filesystem::path& pageFile);

// ---- the page-set check on page 0 ----

enum class PageSetVerdict { Accepted, NewerFormat, WrongModel };

struct PageSetCheck {
  PageSetVerdict verdict = PageSetVerdict::WrongModel;
  bool familyCode202 = false;  // an E1 page set made with code 202
};

PageSetCheck checkPageSetWords(EquipmentModel model, const PageImage& pageZero);

// ---- the hardware-type check on every page ----

enum class HardwareTypeDecision { Pass, AskOperator, Refuse };

HardwareTypeDecision decideHardwareType(std::uint16_t pageType, std::uint16_t unitType, bool mismatchAccepted,
                                        ProfileKind profile);

// "pc" for 0x6370, "p" for 0x0070, "OLD" for 0x8B00; the unit's 8-bit characters as UTF-8.
std::string hardwareTypeText(std::uint16_t typeWord);

// The connection's side of the checks.
struct PageCheckState {
  std::uint16_t unitHardwareType = 0;  // UnitHardwareType as the unit reported it
  std::string unitHardwareTypeText;    // its text form, "???" when it cannot be shown
  bool hardwareMismatchAccepted = false;  // until the connection ends
  std::vector<std::uint16_t> readBackWords;  // one page or half page read from the FLASH
};

// ---- the read-back verification ----

struct ReadBackContext {
  std::size_t offset = 0;  // 0, or kBankWords for a second half
  int currentPage = 0;
  bool pageOnly = false;  // "Somente página": page 15 keeps the file's word 16
  std::uint16_t moduleWord = 0;
};

// True when every word read back equals the word the unit must now hold.
bool readBackMatches(const PageImage& image, std::span<const std::uint16_t> readBack, const ReadBackContext& context);

}  // namespace kad
