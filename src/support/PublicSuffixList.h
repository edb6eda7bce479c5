#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace routelle {

// The public suffix list ("public_suffix_list.dat"), for a platform that does
// not answer the question itself: which names are ones under which unrelated
// parties register their own sites ("com", "co.uk", "github.io").
class PublicSuffixList {
 public:
  // The ASCII form links carry of a name with other letters; nothing when it has none.
  using AsciiForm = std::function<std::optional<std::string>(std::string_view)>;

  // Reads the list's text: one rule a line up to the first blank ("co.uk", a
  // wildcard "*.ck" for every name directly under ck, an exception "!www.ck"
  // taken back out of one), "//" comments; both the list's sections count.
  // Rules with other letters are also kept in their ASCII form. A line that is
  // no rule is skipped; any bytes give a list.
  static PublicSuffixList parse(std::string_view text, const AsciiForm& asciiForm);

  // Whether an ASCII name in lower case is a public suffix. A wildcard's own
  // name counts ("ck" for "*.ck"); the implicit rule that makes any unknown
  // top-level label one does not.
  bool isPublicSuffix(std::string_view asciiHost) const;
  // How many names the rules are kept under (for a check that the list was read).
  std::size_t size() const { return rules_.size(); }

 private:
  enum Flag : std::uint8_t { named = 1, wildcard = 2, exception = 4 };
  void add(std::string name, Flag flag);
  std::unordered_map<std::string, std::uint8_t> rules_;  // name without "*." or "!": its flags
};

}  // namespace routelle
