#include "settings/HostName.h"

#include <algorithm>
#include <array>

#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::size_t kMaxHostLength = 253;
constexpr std::size_t kMaxLabelLength = 63;

bool isAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// What a host name may hold as it is (RFC 3986: unreserved and sub-delims). A
// "%" escape is refused: browsers decode it, so the host a rule names would
// differ from the one a link arrives with. Looked up: every link's host is checked.
constexpr auto kHostCharacters = [] {
  std::array<bool, 256> table{};
  for (int c = 'a'; c <= 'z'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (char c : std::string_view("-._~!$&'()*+,;=")) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool hostCharacter(char c) { return kHostCharacters[static_cast<unsigned char>(c)]; }

// Every label has one to 63 characters.
bool wellFormedLabels(std::string_view host) {
  std::size_t label = 0;
  for (char c : host) {
    if (c != '.') {
      if (++label > kMaxLabelLength) return false;
    } else if (label == 0) {
      return false;
    } else {
      label = 0;
    }
  }
  return label > 0;
}

// Removes every occurrence of an ASCII text, in any case, left to right.
std::string removeIgnoringCase(std::string_view s, std::string_view what) {
  std::string lowered(s);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), asciiLower);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = lowered.find(what, from)) != std::string::npos; from = at + what.size())
    out.append(s.substr(from, at - from));
  out.append(s.substr(from));
  return out;
}

// Blanks a paste brings along: ASCII white space and the no-break space.
std::string_view trimmedBlanks(std::string_view s) {
  constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
  for (bool trimmed = true; trimmed && !s.empty();) {
    trimmed = false;
    if (std::string_view(" \t\r\n\f\v").find(s.front()) != std::string_view::npos) {
      s.remove_prefix(1);
      trimmed = true;
    } else if (s.starts_with(kNoBreakSpace)) {
      s.remove_prefix(kNoBreakSpace.size());
      trimmed = true;
    }
    if (s.empty()) break;
    if (std::string_view(" \t\r\n\f\v").find(s.back()) != std::string_view::npos) {
      s.remove_suffix(1);
      trimmed = true;
    } else if (s.ends_with(kNoBreakSpace)) {
      s.remove_suffix(kNoBreakSpace.size());
      trimmed = true;
    }
  }
  return s;
}

// Whether an ASCII host in lower case, without its root's dot, is one rules can name.
bool comparableAsIs(std::string_view host) {
  return host.size() <= kMaxHostLength && std::all_of(host.begin(), host.end(), hostCharacter) &&
         wellFormedLabels(host);
}

}  // namespace

std::optional<std::string> comparableHost(const UrlParser& urls, std::string_view host) {
  // "example.org." names the same host as "example.org".
  if (host.ends_with('.')) host.remove_suffix(1);
  if (host.empty()) return std::nullopt;
  std::string out;
  if (isAscii(host)) {
    out.assign(host);
    std::transform(out.begin(), out.end(), out.begin(), asciiLower);
  } else if (auto ascii = urls.asciiHost(host)) {
    out = std::move(*ascii);
    if (out.ends_with('.')) out.pop_back();
  } else {
    return std::nullopt;
  }
  if (!comparableAsIs(out)) return std::nullopt;
  return out;
}

std::string comparableOrLowered(const UrlParser& urls, std::string host) {
  if (!isAscii(host)) {
    auto comparable = comparableHost(urls, host);
    return comparable ? std::move(*comparable) : text::lowercased(host);
  }
  // Most hosts: changed where they are, without a copy.
  std::transform(host.begin(), host.end(), host.begin(), asciiLower);
  std::string_view bare = host;
  if (bare.ends_with('.')) bare.remove_suffix(1);
  if (!bare.empty() && comparableAsIs(bare)) host.resize(bare.size());
  return host;
}

std::optional<std::string> asciiAuthority(const UrlParser& urls, std::string_view authority) {
  if (isAscii(authority)) return std::string(authority);
  const std::size_t userEnd = authority.rfind('@');
  const std::size_t hostStart = userEnd == std::string_view::npos ? 0 : userEnd + 1;
  const std::size_t portStart = authority.find(':', hostStart);
  const std::size_t hostEnd = portStart == std::string_view::npos ? authority.size() : portStart;
  const std::string_view host = authority.substr(hostStart, hostEnd - hostStart);
  if (isAscii(host)) return std::string(authority);  // a strict parser refuses the rest as it is
  auto ascii = urls.asciiHost(host);
  if (!ascii) return std::nullopt;
  return std::string(authority.substr(0, hostStart)) + *ascii + std::string(authority.substr(hostEnd));
}

std::string_view withoutBlanksAround(std::string_view typed) { return trimmedBlanks(typed); }

std::string withoutSchemes(std::string_view typed) {
  std::string bare = removeIgnoringCase(trimmedBlanks(typed), "http://");
  bare = removeIgnoringCase(bare, "https://");
  return removeIgnoringCase(bare, "s://");
}

std::optional<std::string> normalisedDomain(const UrlParser& urls, std::string_view typed) {
  const std::string bare = withoutSchemes(typed);
  // Only the host is kept: what follows the authority need not be a valid path.
  const std::string_view authority = std::string_view(bare).substr(0, bare.find_first_of("/?#"));
  const auto ascii = asciiAuthority(urls, authority);
  if (!ascii) return std::nullopt;
  const auto url = urls.parse("http://" + *ascii);
  if (!url || !url->host) return std::nullopt;
  auto host = comparableHost(urls, *url->host);
  if (!host || host->find('.') == std::string::npos) return std::nullopt;
  return host;
}

}  // namespace routelle
