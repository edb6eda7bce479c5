// The status menu's submenus, built from the stored settings.
#include "app/StatusMenuSubmenus.h"

#include <array>
#include <memory>
#include <utility>

#include "routing/LinkText.h"
#include "settings/DomainList.h"
#include "settings/Keys.h"
#include "settings/KnownBrowsers.h"
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
  Menu remove;
  remove.items.push_back(entry("Delete", deleteAction, std::move(carrier)));
  return withSubmenu(std::move(item), std::move(remove));
}

}  // namespace

const std::optional<std::string>& ApplicationPaths::named(const std::string& name) {
  auto it = byName_.find(name);
  if (it == byName_.end()) it = byName_.emplace(name, workspace_.fullPathForApplication(name)).first;
  return it->second;
}

InstalledBrowsers installedBrowsers(Workspace& workspace, const StoredList& added) {
  InstalledBrowsers out;
  for (const auto& known : knownBrowsers) {
    std::string identifier(known.identifier);
    if (auto path = workspace.pathForBundleIdentifier(identifier))
      out.known.push_back({appNameFromPath(*path), std::move(*path), std::move(identifier)});
  }
  for (const auto& identifier : added.items) {
    if (identifier.empty()) continue;
    if (auto path = workspace.pathForBundleIdentifier(identifier))
      out.added.push_back({appNameFromPath(*path), std::move(*path), identifier});
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
      if (profileNames)
        for (const auto& name : profileNames(browser.title)) {
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

Menu modifierKeys(SettingsStore& settings, RuleStore& rules, ApplicationPaths& apps) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kModifiers{
      {{keys::commandRule, "Command"},
       {keys::shiftRule, "Shift"},
       {keys::optionRule, "Alt"},
       {keys::controlRule, "Ctrl"}}};
  Menu menu;
  menu.items.push_back(label("Choose a browser to open with:"));
  menu.items.push_back(label("Hold Modifier Key + Click"));
  menu.items.push_back(MenuItem::separatorItem());
  for (const auto& [key, title] : kModifiers) {
    MenuItem item = entry(std::string(title), Action::editModifierKey, std::string(key));
    auto browser = settings.getString(key);
    if (browser && *browser != values::showBrowsersList && *browser != values::useOpenedBrowser) {
      if (const auto& path = apps.named(*browser))
        item.image = ImageRef::iconOf(*path, {20, 20});
      else
        rules.clearModifierRule(key);
    }
    menu.items.push_back(std::move(item));
    menu.items.push_back(MenuItem::separatorItem());
  }
  return menu;
}

Menu perDomain(const StoredList& domains, ApplicationPaths& apps, double iconSide, Menu onion) {
  Menu menu;
  menu.items.reserve(domains.items.size() / 2 + 5);
  for (const auto& rule : DomainList(domains.items)) {
    if (rule.domain.empty()) continue;
    menu.items.push_back(
        ruleEntry(rule.domain, apps.named(rule.browser), iconSide, Action::removeDomainRule, rule.domain));
  }
  menu.items.push_back(MenuItem::separatorItem());
  menu.items.push_back(MenuItem::separatorItem());
  menu.items.push_back(withSubmenu(entry(".onion domain suffix"), std::move(onion)));
  menu.items.push_back(MenuItem::separatorItem());
  menu.items.push_back(entry("Add domains...", Action::addDomainRule, "D"));
  return menu;
}

Menu onionSuffix(SettingsStore& settings, const InstalledBrowsers& browsers) {
  const auto onion = settings.getString(keys::onionRule);
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
  if (matched) {
    menu.items.push_back(entry("Disable rule", Action::setOnionRule));
  } else {
    menu.items.push_back(entry("Disabled✓", Action::setOnionRule));
    if (settings.contains(keys::onionRule)) settings.remove(keys::onionRule);
  }
  return menu;
}

Menu perApp(const StoredList& rules, ApplicationPaths& apps, double iconSide) {
  Menu menu;
  menu.items.reserve(rules.items.size() + 2);
  for (const auto& rule : rules.items) {
    if (rule.empty()) continue;
    const std::string_view whole(rule);
    const size_t first = whole.find(kAppRuleSeparator);
    const size_t last = whole.rfind(kAppRuleSeparator);
    const std::string browser(whole.substr(0, first));
    std::string application(last == std::string_view::npos ? whole : whole.substr(last + kAppRuleSeparator.size()));
    menu.items.push_back(ruleEntry(std::move(application), apps.named(browser), iconSide, Action::removeAppRule, rule));
  }
  menu.items.push_back(MenuItem::separatorItem());
  menu.items.push_back(entry("Add app", Action::addAppRule, "A"));
  return menu;
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

Menu experimental(bool selectionList, bool manipulateLinks) {
  Menu menu;
  menu.items.push_back(toggle(selectionList, "Show List on text selection", Action::toggleSelectionAssistant));
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
