#pragma once
#include <string_view>

namespace routelle {

// What Paste and Delete have System Events type into the frontmost application.
inline constexpr std::string_view kPasteScript =
    "tell application \"System Events\" \n keystroke \"v\" using command down \n end tell";
// The keystroke is U+232B ERASE TO THE LEFT.
inline constexpr std::string_view kDeleteScript =
    "tell application \"System Events\" \n keystroke \"\xE2\x8C\xAB\" \n end tell";
static_assert(kDeleteScript.size() == 61);

}  // namespace routelle
