#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace routelle {

// The AppleScript the program sends to browsers, by browser family.
namespace browserscripts {

inline constexpr std::string_view frontDocument = " to return URL of front document as string";
inline constexpr std::string_view activeTab = " to return URL of active tab of front window";
// What holds the tabs the watcher reads, by family.
inline constexpr std::string_view everyTabOfWindow1 = "every tab of window 1";
inline constexpr std::string_view tabsOfFrontWindow = "tabs of front window";

// The current-tab suffix of a browser, by its localized name; nothing for browsers
// that are not scripted.
std::optional<std::string_view> currentTabSuffix(std::string_view name);
// Where the tabs of a browser are, by its bundle name; nothing for browsers the
// tab watcher does not scan.
std::optional<std::string_view> allTabsOf(std::string_view name);
// The script answering the URLs of those tabs one a line. A list made text is
// joined with AppleScript's text item delimiters (none by default, which runs
// the URLs together); a line feed is one no URL can hold, as browsers remove
// it from every address they load.
std::string allTabsScript(std::string_view browser, std::string_view tabs);

// An AppleScript string literal holding the text exactly: the quotes around it, a
// backslash before every backslash and double quote inside it, and line breaks
// and tabs written as their escapes.
std::string quoted(std::string_view text);
// "tell application" and the quoted browser name, then the suffix.
std::string tellApplication(std::string_view browser, std::string_view suffix);

}  // namespace browserscripts
}  // namespace routelle
