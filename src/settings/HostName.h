#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/UrlParser.h"

namespace routelle {

// Host names as domain rules store and compare them: the ASCII form links
// carry ("bücher.example" is "xn--bcher-kva.example"), in lower case, without
// the root's trailing dot. Storing a rule and looking one up both go through
// comparableHost, so that every spelling of one host meets the same rule.

// The comparable form of a host a URL parser gave; nothing when it cannot be
// a host name: an empty label (".example.org", "example..org"), a character
// a host cannot hold as it is ("%65xample.org", blanks), a label over 63 or a
// name over 253 characters, or letters IDNA cannot map.
std::optional<std::string> comparableHost(const UrlParser& urls, std::string_view host);

// The same for a host as a link carries it; one that cannot be a host name is
// only put in lower case (so that the onion rule still sees it as it was read).
std::string comparableOrLowered(const UrlParser& urls, std::string host);

// An authority ("user@host:port") with its host in ASCII, as a strict parser
// reads it; nothing when the host holds letters IDNA cannot map.
std::optional<std::string> asciiAuthority(const UrlParser& urls, std::string_view authority);

// A typed text without the blanks a paste brings along (ASCII white space and
// the no-break space) at either end.
std::string_view withoutBlanksAround(std::string_view typed);
// The same, and every "http://", "https://" and "s://" (in any case) removed.
std::string withoutSchemes(std::string_view typed);

// The host a typed domain text stands for ("normaliseDomain"): blanks around
// it and every "http://", "https://" and "s://" (in any case) are removed,
// and what is left is read as the authority of a web address, so that a
// scheme, a port, a path or a query may come along. Nothing when that has no
// host, the host cannot be one (above), or it has no dot.
std::optional<std::string> normalisedDomain(const UrlParser& urls, std::string_view typed);

}  // namespace routelle
