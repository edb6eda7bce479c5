#include "platform/host/HostLinkDetector.h"

#include <libpsl.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/LinkScanner.h"

namespace routelle {
namespace {

// Ill-formed bytes are read as one U+FFFD per maximal ill-formed subsequence,
// exactly as the rest of the program's UTF-8 reading counts them. The scanner gets
// a value beyond the code space instead, which also remembers how many bytes it
// stands for.
constexpr char32_t kIllFormed = 0x110000;

class DecodedText {
 public:
  explicit DecodedText(std::string_view bytes) : codePoints_(std::make_unique_for_overwrite<char32_t[]>(bytes.size())) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto length = static_cast<std::int32_t>(bytes.size());
    for (std::int32_t i = 0; i < length;) {
      const std::int32_t begin = i;
      UChar32 c = s[i];
      if (c < 0x80)
        ++i;
      else
        U8_NEXT(s, i, length, c);
      codePoints_[count_++] = c < 0 ? kIllFormed + static_cast<char32_t>(i - begin) : static_cast<char32_t>(c);
    }
  }

  std::u32string_view codePoints() const { return {codePoints_.get(), count_}; }

 private:
  std::unique_ptr<char32_t[]> codePoints_;  // one per byte at most; left uninitialised beyond `count_`
  std::size_t count_ = 0;
};

std::size_t utf8Bytes(char32_t c) {
  if (c >= kIllFormed) return c - kIllFormed;
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

std::size_t utf16Units(char32_t c) { return c > 0xFFFF && c < kIllFormed ? 2 : 1; }

// Only the public suffix list's ICANN section counts, and without its implicit
// "any unknown label is a suffix" rule, which would make every word a domain.
bool isTopLevelDomain(const psl_ctx_t* suffixes, std::u32string_view label) {
  // No top-level domain is a single letter or a number ("e.g.", "1.2.3"): skip the lookup.
  const bool number = std::all_of(label.begin(), label.end(), [](char32_t c) { return c >= '0' && c <= '9'; });
  if (!suffixes || label.size() < 2 || number) return false;
  std::string lowered;
  for (const char32_t c : label) {
    const UChar32 lower = u_tolower(static_cast<UChar32>(c));
    char buffer[U8_MAX_LENGTH];
    std::int32_t length = 0;
    UBool failed = false;
    U8_APPEND(buffer, length, U8_MAX_LENGTH, lower, failed);
    if (failed) return false;
    lowered.append(buffer, static_cast<std::size_t>(length));
  }
  return psl_is_public_suffix2(suffixes, lowered.c_str(), PSL_TYPE_ICANN | PSL_TYPE_NO_STAR_RULE) != 0;
}

// The answers already looked up during one scan: a text names few distinct top-level
// labels ("com", "txt") but may repeat them often, and a lookup costs far more than
// a comparison.
class TopLevelMemo {
 public:
  explicit TopLevelMemo(const psl_ctx_t* suffixes) : suffixes_(suffixes) {}

  bool operator()(std::u32string_view label) {
    for (const auto& [known, answer] : answers_)
      if (known == label) return answer;
    const bool answer = isTopLevelDomain(suffixes_, label);
    if (answers_.size() < kCapacity) answers_.emplace_back(label, answer);
    return answer;
  }

 private:
  static constexpr std::size_t kCapacity = 32;
  const psl_ctx_t* suffixes_;
  std::vector<std::pair<std::u32string, bool>> answers_;
};

}  // namespace

HostLinkDetector::HostLinkDetector() : suffixes_(psl_builtin()) {}

std::vector<LinkMatch> HostLinkDetector::findLinks(std::string_view text) const {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return {};
  const DecodedText decoded(text);
  const std::u32string_view codePoints = decoded.codePoints();
  // Spans come in text order, so one forward walk gives every byte and UTF-16 offset.
  std::size_t index = 0;
  std::size_t bytes = 0;
  std::size_t units = 0;
  auto advanceTo = [&](std::size_t target) {
    for (; index < target; ++index) {
      bytes += utf8Bytes(codePoints[index]);
      units += utf16Units(codePoints[index]);
    }
  };
  std::vector<LinkMatch> matches;
  TopLevelMemo isTopLevel(suffixes_);
  for (const auto& span : LinkScanner(std::ref(isTopLevel)).scan(codePoints)) {
    advanceTo(span.begin);
    const std::size_t firstByte = bytes;
    LinkMatch match;
    match.location = units;
    advanceTo(span.end);
    match.length = units - match.location;
    match.text = std::string(text.substr(firstByte, bytes - firstByte));
    matches.push_back(std::move(match));
  }
  return matches;
}

}  // namespace routelle
