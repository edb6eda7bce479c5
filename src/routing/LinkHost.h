#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/UrlParser.h"

namespace routelle {

// The host of a link as rules compare it (comparableHost: ASCII, lower case,
// without the root's dot), since the web compares host names without regard to
// case and carries other letters in their IDNA form; nothing when the link has none. What
// follows the host is read leniently, as the platform's URL class reads what
// browsers send: a blank, a quote, a non-ASCII letter or a stray "%" or "#" in
// the path or query is percent-encoded rather than making the host unreadable.
std::optional<std::string> linkHost(const UrlParser& urls, std::string_view link);

// The host as linkHost reads it and the path as the link carries it (percent
// escapes left as they are), read in one parse.
struct LinkAddress {
  std::optional<std::string> host;
  std::string path;
};
LinkAddress linkAddress(const UrlParser& urls, std::string_view link);

}  // namespace routelle
