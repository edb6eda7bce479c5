// Arbitrary bytes as cleaning entries (the user's additions) and a link, split at
// the first NUL: cleaning ends, never grows a link beyond what it was given, and
// gives back an untouched link whenever no entry changed it; the entry written
// from a link to unwrap it does unwrap it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "routing/LinkCleaner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t split = bytes.find('\0');
  routelle::CleaningTables additions, shipped;
  shipped.addLines(routelle::shippedLinkCleaning());
  std::string_view link = bytes;
  if (split != std::string_view::npos) {
    additions.addLines(bytes.substr(0, split));
    link = bytes.substr(split + 1);
  }
  const auto cleaned = routelle::cleanLink(link, {&additions, &shipped});
  if (cleaned.after.size() > link.size()) std::abort();
  if (cleaned.changedBy.empty() != (cleaned.after == link)) std::abort();
  // The entry written from a link as the user pasted it unwraps that very link.
  if (const auto line = routelle::unwrapEntryLine(link)) {
    routelle::CleaningTables written;
    written.addLine(*line);
    if (routelle::cleanLink(link, {&written}).after == link) std::abort();
  }
  return 0;
}
