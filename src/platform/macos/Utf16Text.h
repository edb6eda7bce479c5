#pragma once
// Text as the platform's string classes hold it, with the way back to the bytes
// it came from. Plain C++, so that it is tested on every system.
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LinkDetector.h"

namespace routelle::macos {

// UTF-16 with one U+FFFD per maximal ill-formed subsequence of the bytes, as the
// rest of the program counts them; each unit knows where its bytes start.
class Utf16Text {
 public:
  explicit Utf16Text(std::string_view bytes) : bytes_(bytes) {
    // Offsets are kept as int32_t by the decoder; longer texts are read as empty.
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return;
    const auto* s = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto length = static_cast<std::int32_t>(bytes.size());
    for (std::int32_t i = 0; i < length;) {
      const std::int32_t begin = i;
      UChar32 c = 0;
      U8_NEXT(s, i, length, c);
      const bool illFormed = c < 0;
      if (illFormed) c = 0xFFFD;
      char16_t pair[2];
      std::int32_t n = 0;
      U16_APPEND_UNSAFE(pair, n, c);
      for (std::int32_t k = 0; k < n; ++k) {
        units_.push_back(pair[k]);
        starts_.push_back(static_cast<std::size_t>(begin));
        illFormed_.push_back(illFormed);
      }
    }
    starts_.push_back(bytes.size());
  }

  const std::u16string& units() const { return units_; }

  // The link the platform found at [location, location + length) in units: cut
  // before the first ill-formed unit, which is never part of a link, and copied
  // byte for byte. Nothing for an empty or out-of-range match.
  std::optional<LinkMatch> link(std::size_t location, std::size_t length) const {
    if (location > units_.size() || length > units_.size() - location) return std::nullopt;
    std::size_t end = location;
    while (end < location + length && !illFormed_[end]) ++end;
    if (end == location) return std::nullopt;
    const std::size_t from = starts_[location];
    return LinkMatch{location, end - location, std::string(bytes_.substr(from, starts_[end] - from))};
  }

 private:
  std::string_view bytes_;
  std::u16string units_;
  std::vector<std::size_t> starts_;  // per unit, then the end of the bytes
  std::vector<bool> illFormed_;      // per unit
};

}  // namespace routelle::macos
