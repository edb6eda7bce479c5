#pragma once
// Builders of the status menu's submenus; used only by the status menu.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Workspace.h"
#include "settings/BrowserProfiles.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "ui/Actions.h"
#include "ui/Menu.h"

namespace routelle::statusmenu {

// Applications by name, each asked of the workspace once per rebuild: a
// thousand rules name only a handful of browsers.
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

InstalledBrowsers installedBrowsers(Workspace& workspace, const StoredList& added);
// The status menu's test: the hidden text holds "✓" and the name.
bool isHidden(const std::string& hiddenText, const std::string& name);

MenuItem entry(std::string title);
MenuItem entry(std::string title, Action action, std::string key = {});
// "✓" and the label when on, three blanks and the label when off.
MenuItem toggle(bool on, std::string_view label, Action action);
MenuItem withSubmenu(MenuItem item, Menu submenu);

// The display names of a browser's profiles, in the order it lists them.
using ProfileNames = std::function<std::vector<std::string>(const std::string& browser)>;

// "Temporally open with:" before the default choice is marked; each profile
// ("BROWSER — PROFILE") right under its browser.
Menu temporallyOpenWith(const InstalledBrowsers& browsers, const std::string& hiddenText,
                        const ProfileNames& profileNames = {});
// Modifier rules naming no installed application are removed on the way.
Menu modifierKeys(SettingsStore& settings, RuleStore& rules, ApplicationPaths& apps);
Menu perDomain(const StoredList& domains, ApplicationPaths& apps, double iconSide, Menu onion);
// An onion rule naming no listed browser is removed on the way.
Menu onionSuffix(SettingsStore& settings, const InstalledBrowsers& browsers);
Menu perApp(const StoredList& rules, ApplicationPaths& apps, double iconSide);
Menu addedBrowsers(const InstalledBrowsers& browsers);
Menu experimental(bool selectionList, bool manipulateLinks);
Menu browsersExtensions();

// "✓Per Domain" / "✓Per App" by the stored priority; both entries switch it.
Menu prioritySubmenu(const std::string& priority);

struct PreferenceMarks {
  bool background = false;
  bool menuBarOnly = false;
  bool hideMenuBar = false;
  bool automaticUpdates = false;
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
