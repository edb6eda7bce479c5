#pragma once
// Text as the platform's string classes hold it, with the way back to the bytes
// it came from. Plain C++, so that it is tested on every system.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LinkDetector.h"
#include "support/Text.h"

namespace routelle::macos {

// UTF-16 with one U+FFFD per maximal ill-formed subsequence of the bytes, as the
// rest of the program counts them; each unit knows where its bytes start.
class Utf16Text {
 public:
  explicit Utf16Text(std::string_view bytes) : bytes_(bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
      const std::size_t begin = at;
      std::int32_t c = text::nextCodePoint(bytes, at);
      const bool illFormed = c < 0;
      if (illFormed) c = 0xFFFD;
      const auto add = [&](std::int32_t unit) {
        units_.push_back(static_cast<char16_t>(unit));
        starts_.push_back(begin);
        illFormed_.push_back(illFormed);
      };
      if (c > 0xFFFF) {
        add(0xD800 + ((c - 0x10000) >> 10));
        add(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        add(c);
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
