#pragma once
#include <string>
#include <string_view>

namespace routelle {

// The web search the Search button offers; the query text follows the prefix.
inline constexpr std::string_view kSearchPrefix = "https://duckduckgo.com/?q=";

// The search link for a selected text. The text goes in as it is (blanks too), except
// "&", "#", "+" and "%", which would end the query, start a fragment, stand for a blank
// or start an escape: they are percent-encoded so that the search is for what was selected.
std::string searchLink(std::string_view text);

}  // namespace routelle
