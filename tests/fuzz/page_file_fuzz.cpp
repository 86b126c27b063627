// Feeds arbitrary bytes to the page-file parser: it must refuse or accept every input
// without reading outside it, and never keep more than a page of words.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pagesets/page_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = kad::parsePageText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result.page && (result.page->words.empty() || result.page->words.size() > kad::kMaxPageWords ||
                      result.page->recordCount == 0 || result.page->recordCount > result.page->words.size())) {
    std::abort();
  }
  return 0;
}
