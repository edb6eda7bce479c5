#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace routelle {

// One link found in a text.
struct LinkMatch {
  std::size_t location = 0;  // UTF-16 code units before the link, as the platform's strings count
  std::size_t length = 0;    // UTF-16 code units of the link
  std::string text;          // the link's characters exactly as they stand in the text (UTF-8)

  bool operator==(const LinkMatch&) const = default;
};

// The platform's data detector, links only.
class LinkDetector {
 public:
  virtual ~LinkDetector() = default;

  // Every link in `text`, in text order, never overlapping.
  // Any bytes give an answer. Bytes that are not UTF-8 are read as text::characterCount
  // reads them: each ill-formed sequence is one U+FFFD (one code unit), which is never
  // part of a link, so every match's text is valid UTF-8 copied byte for byte from `text`.
  virtual std::vector<LinkMatch> findLinks(std::string_view text) const = 0;
};

}  // namespace routelle
