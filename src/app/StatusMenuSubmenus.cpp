// The status menu's submenus, built from the stored settings.
#include "app/StatusMenuSubmenus.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "routing/LinkText.h"
#include "settings/BrowserIdentifiers.h"
#include "settings/DomainList.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle::statusmenu {
namespace {

constexpr std::string_view kCheck = "✓";
constexpr std::string_view kUnchecked = "   ";

MenuItem label(std::string title) {
  MenuItem item = entry(std::move(title));
  item.enabled = false;
  return item;
}

// A rule's entry: its icon when the application is installed, and a submenu to delete it.
MenuItem ruleEntry(std::string title, const std::optional<std::string>& iconPath, double side, Action deleteAction,
                   std::string carrier) {
  MenuItem item = entry(std::move(title), Action::doNothing);
  if (iconPath) item.image = ImageRef::iconOf(*iconPath, {side, side});
  item.submenuEntries = [deleteAction, carrier = std::move(carrier)](const MenuEntrySink& sink) {
    sink(entry("Delete", deleteAction, carrier));
  };
  return item;
}

}  // namespace

const std::optional<std::string>& ApplicationPaths::named(const std::string& name) {
  auto it = byName_.find(name);
  if (it == byName_.end()) it = byName_.emplace(name, workspace_.fullPathForApplication(name)).first;
  return it->second;
}

InstalledBrowsers installedBrowsers(Workspace& workspace, const StoredListView& added) {
  InstalledBrowsers out;
  for (auto& identifier : knownBrowserIdentifiers(workspace)) {
    if (auto path = workspace.pathForBundleIdentifier(identifier))
      out.known.push_back({appNameFromPath(*path), std::move(*path), std::move(identifier)});
  }
  for (const auto& identifier : added.items) {
    if (identifier.empty()) continue;
    std::string id(identifier);
    if (auto path = workspace.pathForBundleIdentifier(id))
      out.added.push_back({appNameFromPath(*path), std::move(*path), std::move(id)});
  }
  return out;
}

bool isHidden(const std::string& hiddenText, const std::string& name) {
  return text::contains(hiddenText, std::string(kCheck) + name);
}

MenuItem entry(std::string title) {
  MenuItem item;
  item.title = std::move(title);
  return item;
}

MenuItem entry(std::string title, Action action, std::string key) {
  MenuItem item = entry(std::move(title));
  item.action = selector(action);
  item.keyEquivalent = std::move(key);
  return item;
}

MenuItem toggle(bool on, std::string_view caption, Action action) {
  return entry(std::string(on ? kCheck : kUnchecked) + std::string(caption), action);
}

MenuItem withSubmenu(MenuItem item, Menu submenu) {
  item.submenu = std::make_shared<Menu>(std::move(submenu));
  return item;
}

MenuItem withSubmenu(MenuItem item, MenuEntrySource entries) {
  item.submenuEntries = std::move(entries);
  return item;
}

bool namesApplication(const std::string& stored) {
  return stored != values::showBrowsersList && stored != values::useOpenedBrowser;
}

bool listsBrowser(const InstalledBrowsers& browsers, const std::string& hiddenText, const std::string& stored) {
  for (const auto& browser : browsers.known)
    if (!isHidden(hiddenText, browser.title) && BrowserRegistry::namesListedBrowser(browser.title, stored)) return true;
  for (const auto& browser : browsers.added)
    if (BrowserRegistry::namesListedBrowser(browser.title, stored)) return true;
  return false;
}

Menu temporallyOpenWith(const InstalledBrowsers& browsers, const std::string& hiddenText,
                        const ProfileNames& profileNames) {
  Menu menu;
  int number = 0;
  for (const auto& browser : browsers.known) {
    // Hidden browsers keep their number and their separator.
    const std::string key = std::to_string(number++);
    if (!isHidden(hiddenText, browser.title)) {
      MenuItem item = entry(browser.title, Action::setDefaultBrowser, key);
      item.image = ImageRef::iconOf(browser.path);
      menu.items.push_back(std::move(item));
      if (const auto names = profileNames.find(browser.title); names != profileNames.end())
        for (const auto& name : names->second) {
          MenuItem profile = entry(browser.title + std::string(kProfileSeparator) + name, Action::setDefaultBrowser);
          profile.image = ImageRef::iconOf(browser.path);
          menu.items.push_back(std::move(profile));
        }
    }
    menu.items.push_back(MenuItem::separatorItem());
  }
  for (const auto& browser : browsers.added) {
    MenuItem item = entry(browser.title, Action::setDefaultBrowser);
    item.image = ImageRef::iconOf(browser.path);
    menu.items.push_back(std::move(item));
    menu.items.push_back(MenuItem::separatorItem());
  }
  return menu;
}

Menu modifierKeys(const std::array<std::optional<std::string>, kModifierEntries.size()>& browsers,
                  ApplicationPaths& apps) {
  Menu menu;
  menu.items.push_back(label("Choose a browser to open with:"));
  menu.items.push_back(label("Hold Modifier Key + Click"));
  menu.items.push_back(MenuItem::separatorItem());
  for (std::size_t i = 0; i < kModifierEntries.size(); ++i) {
    const auto& [key, title] = kModifierEntries[i];
    MenuItem item = entry(std::string(title), Action::editModifierKey, std::string(key));
    if (const auto& browser = browsers[i]; browser && namesApplication(*browser))
      if (const auto& path = apps.named(*browser)) item.image = ImageRef::iconOf(*path, {20, 20});
    menu.items.push_back(std::move(item));
    menu.items.push_back(MenuItem::separatorItem());
  }
  return menu;
}

MenuEntrySource perDomain(std::shared_ptr<const StoredListView> domains, std::shared_ptr<ApplicationPaths> apps,
                          double iconSide, Menu onion) {
  return [domains = std::move(domains), apps = std::move(apps), iconSide,
          onion = std::make_shared<const Menu>(std::move(onion))](const MenuEntrySink& sink) {
    for (const auto& rule : DomainList(domains->items)) {
      if (rule.domain.empty()) continue;
      sink(ruleEntry(std::string(rule.domain), apps->named(std::string(rule.browser)), iconSide,
                     Action::removeDomainRule, std::string(rule.domain)));
    }
    sink(MenuItem::separatorItem());
    sink(MenuItem::separatorItem());
    MenuItem onionEntry = entry(".onion domain suffix");
    onionEntry.submenu = std::make_shared<Menu>(*onion);
    sink(std::move(onionEntry));
    sink(MenuItem::separatorItem());
    sink(entry("Add domains...", Action::addDomainRule, "D"));
  };
}

bool listsOnionBrowser(const InstalledBrowsers& browsers, const std::optional<std::string>& onion) {
  if (!onion) return false;
  auto names = [&](const ListedBrowser& browser) { return BrowserRegistry::namesListedBrowser(browser.title, *onion); };
  return std::any_of(browsers.known.begin(), browsers.known.end(), names) ||
         std::any_of(browsers.added.begin(), browsers.added.end(), names);
}

Menu onionSuffix(const std::optional<std::string>& onion, const InstalledBrowsers& browsers) {
  Menu menu;
  bool matched = false;
  auto add = [&](const ListedBrowser& browser) {
    // The onion browser may be stored in any spelling the launcher takes, as the default choice may.
    const bool chosen = onion && !matched && BrowserRegistry::namesListedBrowser(browser.title, *onion);
    matched = matched || chosen;
    menu.items.push_back(
        entry(chosen ? browser.title + " " + std::string(kCheck) : browser.title, Action::setOnionRule));
  };
  for (const auto& browser : browsers.known) add(browser);
  for (const auto& browser : browsers.added) add(browser);
  if (matched)
    menu.items.push_back(entry("Disable rule", Action::setOnionRule));
  else
    menu.items.push_back(entry("Disabled✓", Action::setOnionRule));
  return menu;
}

MenuEntrySource perApp(std::shared_ptr<const StoredListView> rules, std::shared_ptr<ApplicationPaths> apps,
                       double iconSide) {
  return [rules = std::move(rules), apps = std::move(apps), iconSide](const MenuEntrySink& sink) {
    for (const auto& rule : rules->items) {
      if (rule.empty()) continue;
      const std::string_view whole(rule);
      const size_t first = whole.find(kAppRuleSeparator);
      const size_t last = whole.rfind(kAppRuleSeparator);
      const std::string browser(whole.substr(0, first));
      std::string application(last == std::string_view::npos ? whole : whole.substr(last + kAppRuleSeparator.size()));
      sink(ruleEntry(std::move(application), apps->named(browser), iconSide, Action::removeAppRule, std::string(rule)));
    }
    sink(MenuItem::separatorItem());
    sink(entry("Add app", Action::addAppRule, "A"));
  };
}

Menu addedBrowsers(const InstalledBrowsers& browsers) {
  Menu menu;
  menu.items.push_back(entry("Add browser...", Action::addBrowser));
  for (const auto& browser : browsers.added) {
    MenuItem item = entry(text::lastPathComponent(browser.path));
    item.image = ImageRef::iconOf(browser.path);
    Menu remove;
    remove.items.push_back(entry("Remove", Action::removeAddedBrowser, browser.identifier));
    menu.items.push_back(withSubmenu(std::move(item), std::move(remove)));
  }
  return menu;
}

Menu experimental(bool selectionList, bool manipulateLinks, bool tabsAvailable,
                  const std::optional<std::string>& selectionUnavailable) {
  Menu menu;
  MenuItem selection = toggle(selectionList, "Show List on text selection", Action::toggleSelectionAssistant);
  selection.enabled = !selectionUnavailable;
  menu.items.push_back(std::move(selection));
  if (selectionUnavailable) menu.items.push_back(label("   " + *selectionUnavailable));
  if (tabsAvailable)
    menu.items.push_back(toggle(manipulateLinks, "Manipulate links inside browsers", Action::toggleTabWatcher));
  return menu;
}

Menu browsersExtensions() {
  Menu menu;
  for (const char* browser : {"Safari", "Firefox", "Opera", "Google Chrome", "Chromium", "Roccat"})
    menu.items.push_back(entry(browser, Action::openBrowserExtensionsPage));
  return menu;
}

namespace {

MenuItem iconSizeSlider(double size) {
  View slider;
  slider.kind = View::Kind::slider;
  slider.frame = {30, 10, 200, 20};
  slider.action = selector(Action::setIconSize);
  slider.minValue = 16.0;
  slider.maxValue = 38.0;
  slider.numberOfTickMarks = 11;
  slider.allowsTickMarkValuesOnly = true;
  slider.altIncrementValue = 2.0;
  slider.value = size;
  View container;
  container.frame = {0, 0, 230, 40};
  container.subviews.push_back(std::move(slider));
  MenuItem item = entry("", Action::setIconSize);
  item.view = std::make_shared<View>(std::move(container));
  return item;
}

}  // namespace

Menu prioritySubmenu(const std::string& priority) {
  MenuItem domainsFirst = toggle(priority == values::priorityDomainsFirst, "Per Domain", Action::togglePriority);
  domainsFirst.keyEquivalent = "perDomain";
  MenuItem appsFirst = toggle(priority == values::priorityAppsFirst, "Per App", Action::togglePriority);
  appsFirst.keyEquivalent = "perApp";
  Menu menu;
  menu.items = {std::move(domainsFirst), std::move(appsFirst)};
  return menu;
}

Menu preferences(const PreferenceMarks& marks, const InstalledBrowsers& browsers, const std::string& hiddenText) {
  Menu menu;
  auto& items = menu.items;
  items.push_back(toggle(marks.background, "Open in background", Action::toggleOpenInBackground));
  items.push_back(toggle(marks.menuBarOnly, "Menu Bar Only", Action::toggleMenuBarOnly));
  items.push_back(toggle(marks.hideMenuBar, "Hide Menu Bar", Action::toggleHideMenuBar));
  if (marks.updatesAvailable)
    items.push_back(toggle(marks.automaticUpdates, "Automatically check for updates", Action::toggleAutomaticChecks));

  Menu exchange;
  exchange.items.push_back(entry("Export", Action::exportRules));
  exchange.items.push_back(entry("Import", Action::importRules));
  items.push_back(withSubmenu(entry("   Rules", Action::doNothing), std::move(exchange)));

  Menu hidden;
  for (const auto& browser : browsers.known)
    hidden.items.push_back(toggle(isHidden(hiddenText, browser.title), browser.title, Action::toggleHiddenBrowser));
  items.push_back(withSubmenu(entry("   Hidden browsers", Action::doNothing), std::move(hidden)));

  Menu shortcut;
  shortcut.items.push_back(entry("⌃+⌥+⌘+n", Action::doNothing));
  items.push_back(withSubmenu(entry("   New Window Shortcut", Action::doNothing), std::move(shortcut)));

  items.push_back(MenuItem::separatorItem());
  items.push_back(label("   Menu bar icon size"));
  items.push_back(iconSizeSlider(marks.iconSize));
  items.push_back(toggle(marks.coloredIcon, "Use colored icon", Action::toggleColoredIcon));
  items.push_back(MenuItem::separatorItem());
  items.push_back(toggle(marks.imagesOnly, "Show only browser images", Action::toggleImagesOnly));
  items.push_back(toggle(marks.multipleFileTypes, "Support multiple file types", Action::toggleMultipleFileTypes));
  items.push_back(toggle(marks.showClose, "Show \"Close\" on Browsers List selection menu", Action::toggleShowClose));
  items.push_back(toggle(marks.showUrl, "Show url on Browsers List selection menu", Action::toggleShowUrl));
  items.push_back(toggle(marks.mailto, "Use Routelle for mailto: links", Action::toggleMailDefault));
  items.push_back(toggle(marks.cleanLinks, "Clean Links", Action::toggleCleanLinks));
  items.push_back(entry("   Add to Clean Links...", Action::addCleaningEntry));
  items.push_back(MenuItem::separatorItem());
  items.push_back(entry("   +Apps...", Action::openMakerSite));
  return menu;
}

MenuItem shareExtensionBehavior(std::int64_t behaviour) {
  Menu choices;
  choices.items.push_back(
      toggle(behaviour == 0, "Show browsers list without open Routelle", Action::toggleShareBehavior));
  choices.items.push_back(toggle(behaviour == 1, "Open Routelle", Action::toggleShareBehavior));
  return withSubmenu(entry("Share Extension Behavior"), std::move(choices));
}

}  // namespace routelle::statusmenu
