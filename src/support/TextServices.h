#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace routelle {

// The Unicode work that needs the platform's character tables: case mapping and
// composed character sequences (what a reader counts as one character). Texts are
// UTF-8. A port like those of platform/, kept beside its only caller: the
// composition root installs one for the whole process (text::useServices), and the
// free functions of support/Text reach it from everywhere without each caller
// holding it.
class TextServices {
 public:
  virtual ~TextServices() = default;
  // Case mapping as the platform's string class does it (root locale).
  virtual std::string lowercased(std::string_view text) const = 0;
  // First letter of every blank-separated word upper case, the other letters lower case.
  virtual std::string capitalized(std::string_view text) const = 0;
  virtual bool equalsIgnoringCase(std::string_view a, std::string_view b) const = 0;
  // The first `count` composed character sequences (an emoji with its modifiers, a
  // letter with its accents: one each), or the whole text when it has no more.
  virtual std::string composedCharacterPrefix(std::string_view text, std::size_t count) const = 0;
};

}  // namespace routelle
