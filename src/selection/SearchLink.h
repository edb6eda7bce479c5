#pragma once
#include <string>
#include <string_view>

namespace routelle {

// The web search the Search button offers; the query text follows the prefix.
inline constexpr std::string_view kSearchPrefix = "https://duckduckgo.com/?q=";

// The search link for a selected text, percent-encoded as UTF-8 bytes so that the
// search is for exactly what was selected: a query value keeps only letters, digits,
// "-._~" and "/?:@!$'()*,". Blanks, line breaks and tabs (which browsers drop or
// refuse in a link), and "&", "#", "+", "=", ";" and "%" (which would end the value,
// start a fragment, stand for a blank or start an escape) are encoded, as is every
// byte beyond ASCII.
std::string searchLink(std::string_view text);

}  // namespace routelle
