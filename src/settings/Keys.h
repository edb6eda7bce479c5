#pragma once
#include <string_view>
#include "support/OwnIdentity.h"

namespace routelle::keys {

// Standard domain. The texts are the stored keys; the names say what each holds.
// Default action for links no rule routes: a browser, "Show Browser List" or "Use the opened browser".
inline constexpr std::string_view defaultChoice = "login";
// Which rule list is consulted first: "0" domain rules, "1" per-application rules.
inline constexpr std::string_view rulePriority = "priority";
// Archived flat list: "", then domain and browser pairs.
inline constexpr std::string_view domainRules = "domains";
// Archived list of "browser/*/*/*/*/application" entries after a leading "".
inline constexpr std::string_view appRules = "perApp";
// The browser that opens every link whose host holds ".onion".
inline constexpr std::string_view onionRule = "onion";
// What a link clicked with one modifier key held goes to.
inline constexpr std::string_view shiftRule = "shift";
inline constexpr std::string_view controlRule = "ctrl";
inline constexpr std::string_view optionRule = "alt";
inline constexpr std::string_view commandRule = "command";
// Appended to a modifier rule's key: that rule opens its browser in the background.
inline constexpr std::string_view backgroundSuffix = "back";
// Archived list of bundle identifiers of browsers the user added.
inline constexpr std::string_view addedBrowsers = "addedbrowsers";
// " ✓Name " marks of the browsers hidden from the chooser and menus.
inline constexpr std::string_view hiddenBrowsers = "hiddenBrowsers";
// "Open in background".
inline constexpr std::string_view openInBackground = "background";
// "Menu Bar Only": no Dock icon.
inline constexpr std::string_view menuBarOnly = "hide";
// "Hide Menu Bar": no status item.
inline constexpr std::string_view hideMenuBar = "hideAll";
// "Show only browser images": the chooser is the floating window of icons.
inline constexpr std::string_view imagesOnlyChooser = "imonly";
// "Support multiple file types": every opened file shows the open-with menu.
inline constexpr std::string_view multipleFileTypes = "showeditor";
// "Use colored icon" for the status item.
inline constexpr std::string_view coloredIcon = "clicon";
// Edge of the status item's icon in points.
inline constexpr std::string_view menuBarIconSize = "menuBarIconSize";
// True: the chooser has no Close entry (the inverse of its menu choice).
inline constexpr std::string_view hideChooserClose = "hideExit";
// True: the chooser does not show the link (the inverse of its menu choice).
inline constexpr std::string_view hideChooserUrl = "hideUrl";
// "Show List on text selection": the text selection assistant.
inline constexpr std::string_view selectionAssistant = "Experimental";
// "Manipulate links inside browsers": the tab watcher.
inline constexpr std::string_view tabWatcher = "Experimental2";
// Offer at start-up to become the default web browser.
inline constexpr std::string_view offerDefaultBrowser = "askb";
// "Clean Links": links are unwrapped and stripped of trackers before routing.
inline constexpr std::string_view cleanLinks = "cleanLinks";
// Archived list of the user's own link-cleaning entries, one line each.
inline constexpr std::string_view linkCleaningAdditions = "cleanLinksAdditions";
// Archived list: "", then rule, browser and profile directory triples (RuleProfiles).
inline constexpr std::string_view ruleProfiles = "browserProfiles";
// The one-time Automation notice is still due (absent or true).
inline constexpr std::string_view automationNoticeDue = "firstTimePermission";

// App-group suite: 0 "Show browsers list without open Routelle", 1 "Open Routelle".
inline constexpr std::string_view shareBehavior = "sharebehavior";

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
inline constexpr std::string_view ownBundleIdentifier = kOwnBundleIdentifier;

}  // namespace routelle::domains
