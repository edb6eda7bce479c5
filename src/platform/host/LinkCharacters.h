#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include <unicode/uchar.h>

// Character classes of the link scanner, on code points. ASCII answers come from
// one table, since the scanner asks about every character of the text.
namespace routelle::linkchars {

enum Class : std::uint16_t {
  letterOrDigit = 1 << 0,
  word = 1 << 1,       // continues a word: no link starts right after one or ends right before one
  label = 1 << 2,      // host name label
  localPart = 1 << 3,  // e-mail address before the "@"
  glue = 1 << 4,       // joins what follows into a token that is no bare host or address ("a/b.com", "v1.2")
  authority = 1 << 5,  // user, host and port after a scheme
  path = 1 << 6,       // path, query and fragment
  trailing = 1 << 7,   // sentence punctuation that follows a link rather than ending it
};

namespace detail {

constexpr void add(std::array<std::uint16_t, 128>& table, std::string_view members, std::uint16_t classes) {
  for (const char c : members) table[static_cast<unsigned char>(c)] |= classes;
}

constexpr std::array<std::uint16_t, 128> asciiClasses() {
  std::array<std::uint16_t, 128> table{};
  for (char c = 'a'; c <= 'z'; ++c) add(table, {&c, 1}, letterOrDigit | word | label | localPart | glue | authority);
  for (char c = 'A'; c <= 'Z'; ++c) add(table, {&c, 1}, letterOrDigit | word | label | localPart | glue | authority);
  for (char c = '0'; c <= '9'; ++c) add(table, {&c, 1}, letterOrDigit | word | label | localPart | glue | authority);
  add(table, "_", word | localPart | glue | authority);
  add(table, "-", label | localPart | glue | authority);
  add(table, ".%+", localPart | glue);
  add(table, "@/\\&=~#", glue);
  // Deliberately without brackets, quotes and commas, which in running text close
  // or follow the link far more often than they belong to its host.
  add(table, ".~%:@[]", authority);
  // Anything printable except blanks, quotation marks and the delimiters URLs
  // never contain literally.
  for (char c = 0x21; c < 0x7F; ++c)
    if (std::string_view("<>\"`{}|\\^").find(c) == std::string_view::npos) add(table, {&c, 1}, path);
  add(table, ".,!?;:'*", trailing);
  return table;
}

inline constexpr auto kAscii = asciiClasses();

inline std::uint32_t categoryMask(char32_t c) { return U_GET_GC_MASK(static_cast<UChar32>(c)); }

// Beyond ASCII: letters and digits of every script make words and internationalised
// host names; marks continue them; U+FFFD and values beyond the code space stand
// for bytes that were not text and belong to no link.
inline std::uint16_t nonAsciiClasses(char32_t c) {
  if (c > 0x10FFFF) return 0;
  const std::uint32_t category = categoryMask(c);
  if (category & (U_GC_L_MASK | U_GC_ND_MASK))
    return letterOrDigit | word | label | localPart | glue | authority | path;
  if (category & U_GC_M_MASK) return word | label | localPart | glue | authority | path;
  if (c == 0xFFFD || (category & (U_GC_Z_MASK | U_GC_C_MASK | U_GC_PI_MASK | U_GC_PF_MASK))) return 0;
  return path;
}

}  // namespace detail

inline bool is(char32_t c, Class wanted) {
  return ((c < 0x80 ? detail::kAscii[c] : detail::nonAsciiClasses(c)) & wanted) != 0;
}

inline bool isAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }
inline bool startsPath(char32_t c) { return c == '/' || c == '?' || c == '#'; }

}  // namespace routelle::linkchars
