#pragma once
// Builders of the status menu's submenus; used only by the status menu.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Workspace.h"
#include "settings/BrowserProfiles.h"
#include "settings/Keys.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "ui/Actions.h"
#include "ui/Menu.h"

namespace routelle::statusmenu {

// Applications by name, each asked of the workspace once per rebuild (and the
// rule lists made from it when they open): a thousand rules name only a
// handful of browsers.
class ApplicationPaths {
 public:
  explicit ApplicationPaths(Workspace& workspace) : workspace_(workspace) {}
  const std::optional<std::string>& named(const std::string& name);

 private:
  Workspace& workspace_;
  std::unordered_map<std::string, std::optional<std::string>> byName_;
};

struct ListedBrowser {
  std::string title;  // the bundle's file name without ".app"
  std::string path;
  std::string identifier;
};

struct InstalledBrowsers {
  std::vector<ListedBrowser> known;  // in table order
  std::vector<ListedBrowser> added;  // in the order of adding
};

InstalledBrowsers installedBrowsers(Workspace& workspace, const StoredListView& added);
// The status menu's test: the hidden text holds "✓" and the name.
bool isHidden(const std::string& hiddenText, const std::string& name);

MenuItem entry(std::string title);
MenuItem entry(std::string title, Action action, std::string key = {});
// "✓" and the label when on, three blanks and the label when off.
MenuItem toggle(bool on, std::string_view label, Action action);
MenuItem withSubmenu(MenuItem item, Menu submenu);
MenuItem withSubmenu(MenuItem item, MenuEntrySource entries);

// The modifier rules' stored keys in the order the menu lists them, with their titles.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kModifierEntries{
    {{keys::commandRule, "Command"},
     {keys::shiftRule, "Shift"},
     {keys::optionRule, "Alt"},
     {keys::controlRule, "Ctrl"}}};
// Whether a stored modifier rule names an application rather than one of the choices.
bool namesApplication(const std::string& stored);

// Whether "Temporally open with:" lists the browser a stored choice names (in
// any spelling the launcher takes, "Arc.app"); hidden known browsers are not listed.
bool listsBrowser(const InstalledBrowsers& browsers, const std::string& hiddenText, const std::string& stored);

// The display names of browsers' profiles, in the order each lists them, by the browser's title.
using ProfileNames = std::unordered_map<std::string, std::vector<std::string>>;

// "Temporally open with:" before the default choice is marked; each profile
// ("BROWSER — PROFILE") right under its browser.
Menu temporallyOpenWith(const InstalledBrowsers& browsers, const std::string& hiddenText,
                        const ProfileNames& profileNames = {});
// Stored browsers by modifier key; absent: no rule.
Menu modifierKeys(const std::array<std::optional<std::string>, kModifierEntries.size()>& browsers,
                  ApplicationPaths& apps);
// The rule lists are made when they open, from the list as it was read.
MenuEntrySource perDomain(std::shared_ptr<const StoredListView> domains, std::shared_ptr<ApplicationPaths> apps,
                          double iconSide, Menu onion);
// Whether the stored onion browser is one of the browsers its submenu lists.
bool listsOnionBrowser(const InstalledBrowsers& browsers, const std::optional<std::string>& onion);
Menu onionSuffix(const std::optional<std::string>& onion, const InstalledBrowsers& browsers);
MenuEntrySource perApp(std::shared_ptr<const StoredListView> rules, std::shared_ptr<ApplicationPaths> apps,
                       double iconSide);
Menu addedBrowsers(const InstalledBrowsers& browsers);
// The tab entry only where tabs can be moved; the selection entry disabled, with
// the reason beneath it, where the session cannot show selections.
Menu experimental(bool selectionList, bool manipulateLinks, bool tabsAvailable,
                  const std::optional<std::string>& selectionUnavailable);
Menu browsersExtensions();

// "✓Per Domain" / "✓Per App" by the stored priority; both entries switch it.
Menu prioritySubmenu(const std::string& priority);

struct PreferenceMarks {
  bool background = false;
  bool menuBarOnly = false;
  bool hideMenuBar = false;
  bool automaticUpdates = false;
  bool updatesAvailable = true;  // false: the system's packages update the program
  bool coloredIcon = true;
  double iconSize = 16.0;
  bool imagesOnly = false;
  bool multipleFileTypes = false;
  bool showClose = false;
  bool showUrl = false;
  bool mailto = false;
  bool cleanLinks = false;
};
// "Preferences..." ("bmen1").
Menu preferences(const PreferenceMarks& marks, const InstalledBrowsers& browsers, const std::string& hiddenText);

// Built on every rebuild but offered in no menu.
MenuItem shareExtensionBehavior(std::int64_t behaviour);

}  // namespace routelle::statusmenu
