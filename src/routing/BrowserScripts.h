#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace routelle {

// The AppleScript the program sends to browsers, by browser family.
namespace browserscripts {

inline constexpr std::string_view frontDocument = " to return URL of front document as string";
inline constexpr std::string_view activeTab = " to return URL of active tab of front window";
inline constexpr std::string_view everyTabOfWindow1 = " to return URL of every tab of window 1 as string";
inline constexpr std::string_view tabsOfFrontWindow = "  to return URL of tabs of front window as string";

// The current-tab suffix of a browser, by its localized name; nothing for browsers
// that are not scripted.
std::optional<std::string_view> currentTabSuffix(std::string_view name);
// The all-tabs suffix of a browser, by its bundle name; nothing for browsers the
// tab watcher does not scan.
std::optional<std::string_view> allTabsSuffix(std::string_view name);

// An AppleScript string literal holding the text exactly: the quotes around it, a
// backslash before every backslash and double quote inside it, and line breaks
// and tabs written as their escapes.
std::string quoted(std::string_view text);
// "tell application" and the quoted browser name, then the suffix.
std::string tellApplication(std::string_view browser, std::string_view suffix);

}  // namespace browserscripts
}  // namespace routelle
