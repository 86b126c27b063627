#include "pagesets/page_file.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "pagesets/page_set_layout.h"
#include "pagesets/personal_data.h"
#include "shell/kad_main.h"

namespace kad {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Splits the text into tokens, one at a time.
class TokenReader {
 public:
  explicit TokenReader(std::string_view text) : text_(text) {}

  // Next token, or empty at the end of the text.
  std::string_view next() {
    while (pos_ < text_.size() && isSeparator(text_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isSeparator(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::uint16_t> hexWord(std::string_view token, std::size_t at) {
  if (at + 4 > token.size()) return std::nullopt;
  unsigned value = 0;
  for (std::size_t i = at; i < at + 4; ++i) {
    const int digit = hexValue(token[i]);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<std::uint16_t>(value);
}

PageFileResult refused(PageFileFault fault) { return PageFileResult{std::nullopt, fault}; }

// Reads the data words of one record from `first` on, up to the word followed by '7'.
std::optional<PageFileFault> readRecordWords(std::string_view token, std::size_t first,
                                             std::vector<std::uint16_t>& words) {
  for (std::size_t p = first;; p += 5) {
    if (p + 4 >= token.size()) return PageFileFault::NoChecksumTag;
    const auto word = hexWord(token, p);
    if (!word) return PageFileFault::BadHexDigit;
    if (words.size() == kMaxPageWords) return PageFileFault::TooManyWords;
    words.push_back(*word);
    if (token[p + 4] == '7') return std::nullopt;
  }
}

}  // namespace

std::string_view describePageFileFault(PageFileFault fault) {
  switch (fault) {
    case PageFileFault::CannotOpen: return "cannot be opened";
    case PageFileFault::TooLarge: return "too large for a page file";
    case PageFileFault::Empty: return "empty";
    case PageFileFault::HeaderIsEndOrSkip: return "no header record";
    case PageFileFault::NoEndToken: return "no end token";
    case PageFileFault::TokenTooLong: return "token too long";
    case PageFileFault::NoChecksumTag: return "record without checksum tag";
    case PageFileFault::BadHexDigit: return "not a hexadecimal word";
    case PageFileFault::TooManyWords: return "more words than a page holds";
  }
  return "unknown";
}

PageFileResult parsePageText(std::string_view text) {
  TokenReader reader(text);
  ParsedPageFile page;
  page.words.reserve(kMaxPageWords);

  const std::string_view header = reader.next();
  if (header.empty()) return refused(PageFileFault::Empty);
  if (header.front() == ':' || header.front() == 'C') return refused(PageFileFault::HeaderIsEndOrSkip);
  if (header.size() > kMaxTokenLength) return refused(PageFileFault::TokenTooLong);
  const auto address = hexWord(header, 14);
  if (!address) return refused(header.size() < 18 ? PageFileFault::NoChecksumTag : PageFileFault::BadHexDigit);
  page.headerLoadAddress = *address;
  if (const auto fault = readRecordWords(header, 19, page.words)) return refused(*fault);
  page.recordCount = 1;

  for (;;) {
    std::string_view token = reader.next();
    // A 'C' token is skipped; the token after it is a record even if it starts with 'C' too.
    if (!token.empty() && token.front() == 'C') token = reader.next();
    if (token.empty()) return refused(PageFileFault::NoEndToken);
    if (token.front() == ':') break;
    if (token.size() > kMaxTokenLength) return refused(PageFileFault::TokenTooLong);
    if (const auto fault = readRecordWords(token, 1, page.words)) return refused(*fault);
    ++page.recordCount;
  }
  page.words.shrink_to_fit();
  return PageFileResult{std::move(page), PageFileFault::CannotOpen};
}

PageFileResult readPageFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return refused(PageFileFault::CannotOpen);
  const auto size = std::filesystem::file_size(path, error);
  if (error) return refused(PageFileFault::CannotOpen);
  if (size > kMaxPageFileBytes) return refused(PageFileFault::TooLarge);
  std::ifstream file(path, std::ios::binary);
  if (!file) return refused(PageFileFault::CannotOpen);
  std::string text(static_cast<std::size_t>(size), '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) return refused(PageFileFault::CannotOpen);
  text.resize(static_cast<std::size_t>(file.gcount()));
  return parsePageText(text);
}

bool takesLoadAddress(const std::filesystem::path& pageFile, const std::filesystem::path& programDir, LinkMode link) {
  if (link == LinkMode::USB) return false;
  return pageFile == programDir / "user.tag" || pageFile == programDir / "bootgra.tag";
}

bool isX50rFile(const std::filesystem::path& pageFile) { return pageFile.filename() == "x50r.tag"; }

PageSetCheck checkPageSetWords(EquipmentModel model, const PageImage& pageZero) {
  const std::uint16_t code = pageZero.wordAt(kEquipmentCodeWord);
  const std::uint16_t format = pageZero.wordAt(kFormatVersionWord);
  if (format >= 7) return {PageSetVerdict::NewerFormat};

  bool passes = true;
  switch (normalizedModel(model)) {
    case EquipmentModel::E1: passes = code == 200 || code == 202; break;
    case EquipmentModel::T1: passes = format <= 1 ? code == 200 : code == 201; break;
    case EquipmentModel::TIM:
    case EquipmentModel::TIMSK: passes = code == 300; break;
    case EquipmentModel::DSL2: passes = code == 400; break;
    default: break;
  }
  if (!passes) return {PageSetVerdict::WrongModel};
  return {PageSetVerdict::Accepted, normalizedModel(model) == EquipmentModel::E1 && code == 202};
}

HardwareTypeDecision decideHardwareType(std::uint16_t pageType, std::uint16_t unitType, bool mismatchAccepted,
                                        ProfileKind profile) {
  if (pageType == unitType || mismatchAccepted) return HardwareTypeDecision::Pass;
  if (profile == ProfileEngineering || unitType == kOldHardwareType) return HardwareTypeDecision::AskOperator;
  return HardwareTypeDecision::Refuse;
}

std::string hardwareTypeText(std::uint16_t typeWord) {
  if (typeWord == kOldHardwareType) return "OLD";
  const char low = static_cast<char>(typeWord & 0xFF);
  const char high = static_cast<char>(typeWord >> 8);
  // A zero byte is no character: the unit's one-letter types leave the high byte zero.
  std::string latin1;
  if (low != 0) latin1 += low;
  if (low != 0 && high != 0) latin1 += high;
  return utf8FromLatin1(latin1);
}

bool readBackMatches(const PageImage& image, std::span<const std::uint16_t> readBack, const ReadBackContext& context) {
  for (std::size_t i = 0; i < readBack.size(); ++i) {
    const std::size_t index = context.offset + i;
    // Past the page's own words there is nothing the unit was meant to hold.
    if (index >= image.wordCount()) return false;
    std::uint16_t expected = image.words[index];
    if (context.currentPage == 15 && context.offset == 0 && i == 16 && !context.pageOnly) expected = context.moduleWord;
    if (readBack[i] != expected) return false;
  }
  return true;
}

}  // namespace kad

// ---- loading and the checks as operations of the main window ----

namespace kad {

bool TKadMain::LoadPageFile(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (isX50rFile(path)) pageSet.x50rLoaded = true;
  appendLog(text(TextId::MsgOpening) + name + "...");
  pageImage.words.clear();

  PageFileResult result = readPageFile(path);
  if (!result.page) {
    // A damaged file is refused like a missing one: nothing of it reaches the unit.
    const std::string message = text(TextId::MsgErrorOpening) + path.string() + "!";
    appendLog(message);
    EndConnection();
    dialogs().showOk(text(TextId::TitleError), message, ui::Icon::Error);
    return false;
  }

  auto& current = form["ProgressAtual"];
  current.setMax(static_cast<int>(result.page->recordCount));
  current.setPosition(0);
  for (std::size_t record = 1; record <= result.page->recordCount; ++record) {
    current.setPosition(static_cast<int>(record));
  }
  updatePercentLabels();

  pageImage.words = std::move(result.page->words);
  if (takesLoadAddress(path, programDir(), linkMode.load())) pageImage.loadAddress = result.page->headerLoadAddress;

  if (linkMode.load() == LinkMode::USB && !EmitPageRecord(name)) return false;
  appendLog(name + text(TextId::MsgOpenedSuffix));
  return true;
}

bool TKadMain::CheckPageSetForUnit() {
  if (!LoadPageFile(pageSet.pageSetDir / kPageZeroFile)) return false;
  const EquipmentModel model = normalizedModel(currentModel.load());
  const PageSetCheck check = checkPageSetWords(model, pageImage);
  if (check.verdict == PageSetVerdict::NewerFormat) {
    dialogs().showOk(text(TextId::TitleError), text(TextId::MsgPagesNewerThanProgram), ui::Icon::Error);
    return false;
  }
  if (check.verdict == PageSetVerdict::WrongModel) return false;
  // An E1 page set made with code 202 belongs to the TT hardware line.
  if (model == EquipmentModel::E1) unitIdentity.FamilyCode202 = check.familyCode202;
  return true;
}

bool TKadMain::CheckPageHardwareType() {
  const std::uint16_t pageType = pageImage.wordAt(kHardwareTypeWord);
  const auto decision =
      decideHardwareType(pageType, pageChecks.unitHardwareType, pageChecks.hardwareMismatchAccepted, profile());
  if (decision == HardwareTypeDecision::Pass) return true;

  const std::string page = hardwareTypeText(pageType);
  const std::string& unit = pageChecks.unitHardwareTypeText;
  if (decision == HardwareTypeDecision::AskOperator) {
    const std::string question = text(TextId::MsgSoftwareForHw) + page + "\n" + text(TextId::MsgUnitHwType) + unit +
                                 "\n\n" + text(TextId::MsgAskGoOn);
    if (dialogs().askYesNo(text(TextId::TitleWarning), question, ui::Icon::Warning)) {
      pageChecks.hardwareMismatchAccepted = true;
      return true;
    }
  } else {
    dialogs().showOk(text(TextId::TitleError),
                     text(TextId::MsgImpossibleContinue) + text(TextId::MsgSoftwareForHw) + page + "\n" +
                         text(TextId::MsgUnitHwType) + unit + "\n" + text(TextId::MsgCheckFolderHw),
                     ui::Icon::Error);
  }
  // The operator must choose the firmware folder again.
  programIni().eraseSection("Diretorios");
  return false;
}

bool TKadMain::VerifyPageReadBack(std::size_t offset) {
  appendLog(text(TextId::MsgCheckingIntegrity));
  const ReadBackContext context{.offset = offset,
                                .currentPage = pageSet.currentPage,
                                .pageOnly = form["chkPageX"].checked(),
                                .moduleWord = personalData.moduleWord};
  const bool intact = readBackMatches(pageImage, pageChecks.readBackWords, context);
  appendLog(text(intact ? TextId::MsgIntegrityOk : TextId::MsgFileCorrupted));
  return intact;
}

}  // namespace kad
