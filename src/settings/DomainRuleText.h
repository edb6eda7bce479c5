#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/UrlParser.h"

namespace routelle {

// What a domain rule's text names. Three forms share the stored "domains" list:
// a host ("example.org": that host exactly), a site ("*.example.org": the host
// and every host under it, at any depth), and either of them followed by a path
// prefix ("example.org/docs/": links to it whose path starts with those
// segments). A reader that knows only hosts sees the new forms as hosts that
// never match, so nothing stored changes meaning.
struct DomainRuleText {
  bool wholeSite = false;  // written "*." before the host
  std::string host;        // lower case, without the root's dot
  std::string path;        // the prefix's segments joined by "/", without outer slashes; empty for none

  // How specific a rule is within the kind it belongs to, for explaining.
  enum class Kind { host, hostPath, site, sitePath };
  Kind kind() const {
    if (wholeSite) return path.empty() ? Kind::site : Kind::sitePath;
    return path.empty() ? Kind::host : Kind::hostPath;
  }
};

// Where a stored rule's comparison key went in a buffer: the host, then, for a
// path rule, "/" and the path's segments joined by "/".
struct StoredRuleKey {
  bool wholeSite = false;
  std::size_t hostLength = 0;
  std::size_t length = 0;  // the whole key's
};
// Appends the comparison key of a stored rule text to `out` (readStoredRuleText
// reads the same), without allocating beyond `out`'s growth; nothing, and `out`
// unchanged, for a text that can name no host.
std::optional<StoredRuleKey> appendStoredRuleKey(std::string_view stored, std::string& out);

// A stored rule text as routing reads it: the host part compared without regard
// to case or the root's dot, the path segment by segment ("/docs/" and "docs"
// are one prefix; empty segments do not count). Nothing for a text that can name
// no host ("*", "*.", a "*" elsewhere).
std::optional<DomainRuleText> readStoredRuleText(std::string_view stored);

// A typed rule text, as the rule dialog, the script commands and the importer
// take it: either the text to store or why it is refused.
struct TypedRuleText {
  std::optional<std::string> stored;
  // Empty when the text holds no host with a dot: refused without a word, as
  // such texts always were. Otherwise the sentence the dialog shows.
  std::string refusal;
};

// A text with a scheme ("https://example.org/docs") is a pasted address and
// names its host only; without one, a path after the host is a path prefix,
// kept as typed but for characters a link cannot carry as they are. The host is
// read as normalisedDomain reads it (HostName.h). Refused: a "*" anywhere but a
// leading "*." and a site that is a public suffix alone ("*.org", "*.co.uk").
TypedRuleText parseTypedRuleText(const UrlParser& urls, std::string_view typed);

}  // namespace routelle
