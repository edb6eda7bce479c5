// Arbitrary bytes as a selected text: the links found must be in order, apart,
// inside the text, and each one's text must be what stands at its UTF-16 range.
#include <unicode/unistr.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/host/HostLinkDetector.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const routelle::HostLinkDetector detector;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto links = detector.findLinks(text);

  const auto units = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(size)));
  const auto length = static_cast<std::size_t>(units.length());
  std::size_t previousEnd = 0;
  for (const auto& link : links) {
    if (link.length == 0 || link.location < previousEnd || link.location + link.length > length) std::abort();
    previousEnd = link.location + link.length;
    std::string atRange;
    units.tempSubString(static_cast<std::int32_t>(link.location), static_cast<std::int32_t>(link.length))
        .toUTF8String(atRange);
    if (atRange != link.text || text.find(link.text) == std::string_view::npos) std::abort();
  }
  return 0;
}
