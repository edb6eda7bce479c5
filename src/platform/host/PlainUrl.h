#pragma once
#include <optional>
#include <string_view>

#include "platform/UrlParser.h"

namespace routelle {

// A URL of the shape most links have ("scheme://host.name/path?query#fragment",
// the host of letters, digits, dots and hyphens, the rest of characters a URI
// holds as they are) read in one pass, as the general parser reads it. Any other
// text gives nothing, and is left to the general parser.
std::optional<ParsedUrl> parsePlainUrl(std::string_view text);

}  // namespace routelle
