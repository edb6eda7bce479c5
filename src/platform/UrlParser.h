#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace routelle {

struct ParsedUrl {
  std::string scheme;
  std::optional<std::string> host;  // without IPv6 brackets; nothing when the URL has none
  std::string path;
  std::optional<std::string> query;
};

// Parses a URL as the platform's URL class does; nothing when the text is no URL.
class UrlParser {
 public:
  virtual ~UrlParser() = default;
  virtual std::optional<ParsedUrl> parse(std::string_view text) const = 0;
  // The ASCII form links carry of a host name that may hold other letters
  // ("bücher.example" is "xn--bcher-kva.example"), mapped as IDNA (UTS #46,
  // nontransitional) maps it, in lower case; nothing when the name cannot be
  // mapped. Hyphen placement and label and name lengths are left to the caller.
  virtual std::optional<std::string> asciiHost(std::string_view host) const = 0;
  // Whether an ASCII host in lower case is a public suffix ("org", "co.uk"):
  // a name under which unrelated parties register their own sites.
  virtual bool isPublicSuffix(std::string_view asciiHost) const = 0;
};

}  // namespace routelle
