#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/UrlParser.h"

namespace routelle {

// The host of a link as rules compare it: lower-cased, since the web compares
// host names without regard to case; nothing when the link has none. What
// follows the host is read leniently, as the platform's URL class reads what
// browsers send: a blank, a quote, a non-ASCII letter or a stray "%" or "#" in
// the path or query is percent-encoded rather than making the host unreadable.
std::optional<std::string> linkHost(const UrlParser& urls, std::string_view link);

}  // namespace routelle
