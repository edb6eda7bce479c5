#include "support/Text.h"

#include <algorithm>
#include <atomic>

#include "support/TextServices.h"

namespace routelle::text {
namespace {

std::atomic<const TextServices*> installed{nullptr};

bool isAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool isBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

}  // namespace

void useServices(const TextServices* services) { installed.store(services); }

std::string lowercased(std::string_view s) {
  // Host names and identifiers are ASCII nearly always: no need for the full mapping.
  const TextServices* services = installed.load();
  if (services && !isAscii(s)) return services->lowercased(s);
  std::string out(s);
  for (char& c : out) c = asciiLower(c);
  return out;
}

std::string capitalized(std::string_view s) {
  if (const TextServices* services = installed.load()) return services->capitalized(s);
  std::string out(s);
  bool wordStart = true;
  for (char& c : out) {
    c = wordStart ? asciiUpper(c) : asciiLower(c);
    wordStart = isBlank(c);
  }
  return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a == b) return true;
  // Two ASCII texts fold to the same as with the full mapping: names and
  // identifiers compared on every link need no conversion.
  const TextServices* services = installed.load();
  if (services && !(isAscii(a) && isAscii(b))) return services->equalsIgnoringCase(a, b);
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string composedCharacterPrefix(std::string_view s, std::size_t count) {
  if (const TextServices* services = installed.load()) return services->composedCharacterPrefix(s, count);
  std::size_t at = 0;
  for (std::size_t counted = 0; counted < count && at < s.size(); ++counted) nextCodePoint(s, at);
  return std::string(s.substr(0, at));
}

std::int32_t nextCodePoint(std::string_view s, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(s[at++]);
  if (lead < 0x80) return lead;
  std::size_t more = 0;
  std::int32_t code = 0;
  // The second byte's range excludes overlong forms, surrogates and code points past U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return -1;
  }
  for (std::size_t k = 0; k < more; ++k, low = 0x80, high = 0xBF) {
    if (at >= s.size()) return -1;
    const auto next = static_cast<unsigned char>(s[at]);
    if (next < low || next > high) return -1;
    code = (code << 6) | (next & 0x3F);
    ++at;
  }
  return code;
}

std::string withReplacementCharacters(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t at = 0; at < s.size();) {
    const std::size_t from = at;
    if (nextCodePoint(s, at) < 0)
      out.append("\xEF\xBF\xBD");
    else
      out.append(s.substr(from, at - from));
  }
  return out;
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

std::size_t characterCount(std::string_view s) {
  std::size_t units = 0;
  for (std::size_t at = 0; at < s.size();) units += nextCodePoint(s, at) > 0xFFFF ? 2 : 1;
  return units;
}

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
