#pragma once
#include <string_view>

namespace routelle::keys {

// Standard domain.
inline constexpr std::string_view login = "login";
inline constexpr std::string_view priority = "priority";
inline constexpr std::string_view domains = "domains";
inline constexpr std::string_view perApp = "perApp";
inline constexpr std::string_view onion = "onion";
inline constexpr std::string_view shift = "shift";
inline constexpr std::string_view ctrl = "ctrl";
inline constexpr std::string_view alt = "alt";
inline constexpr std::string_view command = "command";
inline constexpr std::string_view backSuffix = "back";
inline constexpr std::string_view addedbrowsers = "addedbrowsers";
inline constexpr std::string_view hiddenBrowsers = "hiddenBrowsers";
inline constexpr std::string_view background = "background";
inline constexpr std::string_view hide = "hide";
inline constexpr std::string_view hideAll = "hideAll";
inline constexpr std::string_view imonly = "imonly";
inline constexpr std::string_view showeditor = "showeditor";
inline constexpr std::string_view clicon = "clicon";
inline constexpr std::string_view menuBarIconSize = "menuBarIconSize";
inline constexpr std::string_view hideExit = "hideExit";
inline constexpr std::string_view hideUrl = "hideUrl";
inline constexpr std::string_view experimental = "Experimental";
inline constexpr std::string_view experimental2 = "Experimental2";
inline constexpr std::string_view askb = "askb";
inline constexpr std::string_view firstTimePermission = "firstTimePermission";

// App-group suite.
inline constexpr std::string_view sharebehavior = "sharebehavior";

// System-wide domain, read only.
inline constexpr std::string_view appleInterfaceStyle = "AppleInterfaceStyle";

}  // namespace routelle::keys

namespace routelle::values {

inline constexpr std::string_view showBrowserList = "Show Browser List";    // stored "login"
inline constexpr std::string_view showBrowsersList = "Show Browsers List";  // menu title, modifier rule
inline constexpr std::string_view useOpenedBrowser = "Use the opened browser";
inline constexpr std::string_view priorityDomainsFirst = "0";
inline constexpr std::string_view priorityAppsFirst = "1";

}  // namespace routelle::values

namespace routelle::domains {

inline constexpr std::string_view standard = "com.kestrova.Routelle";
inline constexpr std::string_view suite = "group.com.kestrova.Routelle";
inline constexpr std::string_view global = ".GlobalPreferences";
inline constexpr std::string_view ownBundleIdentifier = "com.kestrova.Routelle";

}  // namespace routelle::domains
