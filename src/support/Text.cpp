#include "support/Text.h"

#include <algorithm>

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace routelle::text {
namespace {

icu::UnicodeString fromUtf8(std::string_view s) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
}

std::string toUtf8(const icu::UnicodeString& u) {
  std::string out;
  u.toUTF8String(out);
  return out;
}

bool isWordSeparator(UChar32 c) { return u_isWhitespace(c) || c == '\n' || c == '\r' || c == '\t'; }

}  // namespace

std::string lowercased(std::string_view s) {
  // Host names and identifiers are ASCII nearly always: no need for the full mapping.
  if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    std::string out(s);
    for (char& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
  }
  icu::UnicodeString u = fromUtf8(s);
  u.toLower(icu::Locale::getRoot());
  return toUtf8(u);
}

std::string capitalized(std::string_view s) {
  const icu::UnicodeString u = fromUtf8(s);
  icu::UnicodeString out;
  int32_t i = 0;
  while (i < u.length()) {
    int32_t start = i;
    while (i < u.length() && isWordSeparator(u.char32At(i))) i = u.moveIndex32(i, 1);
    out.append(u, start, i - start);
    if (i >= u.length()) break;
    int32_t firstEnd = u.moveIndex32(i, 1);
    icu::UnicodeString first(u, i, firstEnd - i);
    first.toUpper(icu::Locale::getRoot());
    out.append(first);
    int32_t restStart = firstEnd;
    i = firstEnd;
    while (i < u.length() && !isWordSeparator(u.char32At(i))) i = u.moveIndex32(i, 1);
    icu::UnicodeString rest(u, restStart, i - restStart);
    rest.toLower(icu::Locale::getRoot());
    out.append(rest);
  }
  return toUtf8(out);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  return fromUtf8(a).caseCompare(fromUtf8(b), U_FOLD_CASE_DEFAULT) == 0;
}

bool isValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if ((c & 0xE0) == 0xC0) {
      n = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3;
      cp = c & 0x07;
    } else
      return false;
    if (i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

std::size_t characterCount(std::string_view s) { return static_cast<std::size_t>(fromUtf8(s).length()); }

bool contains(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  size_t pos = 0;
  for (size_t hit; (hit = s.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
    out.append(s.substr(pos, hit - pos));
    out.append(to);
  }
  out.append(s.substr(pos));
  return out;
}

std::vector<std::string> split(std::string_view s, std::string_view separator) {
  std::vector<std::string> parts;
  if (separator.empty()) return {std::string(s)};
  size_t pos = 0;
  for (size_t hit; (hit = s.find(separator, pos)) != std::string_view::npos; pos = hit + separator.size())
    parts.emplace_back(s.substr(pos, hit - pos));
  parts.emplace_back(s.substr(pos));
  return parts;
}

std::string lastPathComponent(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace routelle::text
