#include "routing/LinkHost.h"

#include <algorithm>

#include "settings/HostName.h"
#include "support/Text.h"

namespace routelle {
namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Characters a URL may hold as they are (RFC 3986: unreserved, reserved, "%").
bool allowedInUrl(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return false;
  return std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) == std::string_view::npos;
}

// Everything after the scheme and authority, with what a strict parser refuses encoded.
std::string encodedRest(std::string_view rest) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(rest.size());
  bool inFragment = false;
  for (size_t i = 0; i < rest.size(); ++i) {
    const auto c = static_cast<unsigned char>(rest[i]);
    const bool strayPercent = c == '%' && !(i + 2 < rest.size() && isHex(rest[i + 1]) && isHex(rest[i + 2]));
    const bool secondHash = c == '#' && inFragment;
    if (c == '#') inFragment = true;
    if (allowedInUrl(c) && !strayPercent && !secondHash) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace

LinkAddress linkAddress(const UrlParser& urls, std::string_view link) {
  auto url = urls.parse(link);
  if (!url) {
    // The host is only put in the ASCII form links carry, and the part after the
    // authority repaired; a host that cannot be read stays so.
    const size_t separator = link.find("://");
    if (separator == std::string_view::npos) return {};
    const size_t start = separator + 3;
    const size_t authorityEnd = std::min(link.find_first_of("/?#", start), link.size());
    const auto authority = asciiAuthority(urls, link.substr(start, authorityEnd - start));
    if (!authority) return {};
    url = urls.parse(std::string(link.substr(0, start)) + *authority + encodedRest(link.substr(authorityEnd)));
  }
  if (!url || !url->host) return {};
  // A host no rule can name still goes to the onion rule as it was read.
  return {comparableOrLowered(urls, std::move(*url->host)), std::move(url->path)};
}

std::optional<std::string> linkHost(const UrlParser& urls, std::string_view link) {
  return linkAddress(urls, link).host;
}

}  // namespace routelle
