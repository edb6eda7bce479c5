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

}  // namespace routelle
