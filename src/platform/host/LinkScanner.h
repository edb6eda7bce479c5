#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace routelle {

// Finds links in a text of code points (values beyond U+10FFFF stand for bytes that
// were no text and belong to no link): URLs with a web scheme (any case), "mailto:"
// addresses, e-mail addresses, "www." hosts and bare host names whose top-level label
// the caller recognises. A link never starts or ends inside a longer word, and
// trailing punctuation or an unbalanced closing bracket is left out of it.
class LinkScanner {
 public:
  // Code point indexes of one link; `end` is one past its last character.
  struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const Span&) const = default;
  };
  // Whether a host's last label (as written, any case) is a real top-level domain.
  using TopLevelTest = std::function<bool(std::u32string_view label)>;

  explicit LinkScanner(TopLevelTest isTopLevel) : isTopLevel_(std::move(isTopLevel)) {}

  std::vector<Span> scan(std::u32string_view text) const;

 private:
  struct Labels {
    std::size_t end = 0;
    std::size_t count = 0;
    std::size_t firstEnd = 0;
    std::size_t lastBegin = 0;
  };

  // The run of address characters from a word start.
  struct Token {
    std::size_t end = 0;
    std::size_t lettersEnd = 0;  // end of the ASCII letters it begins with (a scheme's)
    bool dotted = false;
    // Most words are none: no dot, and no scheme's ":" or address's "@" after them.
    bool couldBeLink(std::u32string_view t) const {
      return dotted || (end < t.size() && (t[end] == ':' || t[end] == '@'));
    }
  };

  static Token tokenAt(std::u32string_view t, std::size_t start);
  std::optional<std::size_t> linkAt(std::u32string_view t, std::size_t start, const Token& token) const;
  std::optional<std::size_t> schemeLink(std::u32string_view t, std::size_t start, std::size_t schemeEnd) const;
  std::optional<std::size_t> mailtoLink(std::u32string_view t, std::size_t start, std::size_t schemeEnd) const;
  std::optional<std::size_t> emailLink(std::u32string_view t, std::size_t at) const;
  std::optional<std::size_t> hostLink(std::u32string_view t, std::size_t start) const;
  bool hasRealTopLevel(std::u32string_view t, const Labels& labels) const;

  static std::optional<Labels> labelsAt(std::u32string_view t, std::size_t start);
  static std::size_t pathEnd(std::u32string_view t, std::size_t from);
  static std::size_t portEnd(std::u32string_view t, std::size_t from);
  static std::size_t withoutTrailingPunctuation(std::u32string_view t, std::size_t floor, std::size_t end);
  static bool hostIsNamed(std::u32string_view t, std::size_t begin, std::size_t end);
  static bool endsCleanly(std::u32string_view t, std::size_t end);

  TopLevelTest isTopLevel_;
};

}  // namespace routelle
