#include "settings/DomainRuleText.h"

#include "settings/HostName.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::string_view kSitePrefix = "*.";

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A path as links carry it: what a URL cannot hold as it is gets percent-encoded,
// so that the prefix compares with the paths links arrive with.
std::string linkPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    const bool strayPercent = c == '%' && !(i + 2 < path.size() && isHex(path[i + 1]) && isHex(path[i + 2]));
    const bool plain =
        c > 0x20 && c < 0x7F && std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) == std::string_view::npos;
    if (plain && !strayPercent) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// The non-empty segments of a path, joined by "/".
std::string joinedSegments(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (std::size_t at = 0; at < path.size();) {
    const std::size_t end = std::min(path.find('/', at), path.size());
    if (end > at) {
      if (!out.empty()) out += '/';
      out.append(path.substr(at, end - at));
    }
    at = end + 1;
  }
  return out;
}

}  // namespace

std::optional<StoredRuleKey> appendStoredRuleKey(std::string_view stored, std::string& out) {
  StoredRuleKey key;
  if (stored.starts_with(kSitePrefix)) {
    key.wholeSite = true;
    stored.remove_prefix(kSitePrefix.size());
  }
  const std::size_t slash = stored.find('/');
  std::string_view host = stored.substr(0, slash);
  if (host.ends_with('.')) host.remove_suffix(1);
  if (host.empty() || host.find('*') != std::string_view::npos) return std::nullopt;
  const std::size_t start = out.size();
  out.append(host);
  for (std::size_t i = start; i < out.size(); ++i)
    if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
  key.hostLength = host.size();
  if (slash != std::string_view::npos) {
    const std::string_view path = stored.substr(slash);
    for (std::size_t at = 0; at < path.size();) {
      const std::size_t end = std::min(path.find('/', at), path.size());
      if (end > at) {
        out += '/';
        out.append(path.substr(at, end - at));
      }
      at = end + 1;
    }
  }
  key.length = out.size() - start;
  return key;
}

std::optional<DomainRuleText> readStoredRuleText(std::string_view stored) {
  std::string keyText;
  const auto key = appendStoredRuleKey(stored, keyText);
  if (!key) return std::nullopt;
  DomainRuleText rule;
  rule.wholeSite = key->wholeSite;
  rule.host = keyText.substr(0, key->hostLength);
  if (key->length > key->hostLength) rule.path = keyText.substr(key->hostLength + 1);
  return rule;
}

TypedRuleText parseTypedRuleText(const UrlParser& urls, std::string_view typed) {
  const std::string_view trimmed = withoutBlanksAround(typed);
  const std::string bare = withoutSchemes(typed);
  const bool pastedAddress = bare.size() != trimmed.size();
  std::string_view authority = std::string_view(bare).substr(0, bare.find_first_of("/?#"));
  const std::string_view rest = std::string_view(bare).substr(authority.size());
  const bool wholeSite = authority.starts_with(kSitePrefix);
  if (wholeSite) authority.remove_prefix(kSitePrefix.size());
  if (authority.find('*') != std::string_view::npos)
    return {std::nullopt, "\"" + std::string(trimmed) +
                              "\" has a \"*\" where none can stand: a rule for a whole site begins with \"*.\" "
                              "and names the site after it, as in *.example.org."};
  auto host = normalisedDomain(urls, authority);
  if (!host) {
    if (!wholeSite) return {};
    return {std::nullopt, "\"" + std::string(trimmed) +
                              "\" names no site: write a host name with a dot after \"*.\", as in *.example.org."};
  }
  if (wholeSite && urls.isPublicSuffix(*host))
    return {std::nullopt, "\"*." + *host + "\" would catch every site under the public suffix \"" + *host +
                              "\", whoever runs them: name one site, as in *.example." + *host + "."};
  std::string stored = wholeSite ? std::string(kSitePrefix) + *host : *host;
  if (!pastedAddress && rest.starts_with('/')) {
    const std::string_view path = rest.substr(0, rest.find_first_of("?#"));
    if (!joinedSegments(path).empty()) stored += linkPath(path);
  }
  return {std::move(stored), {}};
}

}  // namespace routelle
