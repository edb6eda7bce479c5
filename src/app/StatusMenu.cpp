#include "app/StatusMenu.h"

#include <memory>

#include "app/OwnHandler.h"
#include "app/StatusMenuSubmenus.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

using namespace statusmenu;

constexpr std::size_t kUrlTitleLength = 35;
constexpr std::string_view kDefaultBrowserQuestion = "Set Routelle as Default web browser?";

// The captured link as the menu shows it: its first 35 characters as a reader
// counts them (an emoji with its modifiers, a letter with its accents: one
// each), never cut inside one.
std::string capturedUrlTitle(const std::string& url) {
  std::string title = text::composedCharacterPrefix(url, kUrlTitleLength);
  return title.size() < url.size() ? title + "..." : url;
}

}  // namespace

StatusMenu::StatusMenu(const Dependencies& deps)
    : settings_(deps.settings),
      rules_(deps.rules),
      workspace_(deps.workspace),
      launchServices_(deps.launchServices),
      accessibility_(deps.accessibility),
      updater_(deps.updater),
      presenter_(deps.presenter),
      runLoop_(deps.runLoop),
      floatingWindow_(deps.floatingWindow),
      tabCapture_(deps.tabCapture),
      trace_(deps.trace),
      profiles_(deps.profiles) {}

void StatusMenu::createStatusItem() {
  statusItemShown_ = true;
  statusItem_.action = selector(Action::refreshMenu);
  applyStatusIcon();
  refreshMenu();
  presenter_.showStatusItem(statusItem_, menu_);
}

void StatusMenu::fetchMenu() {
  // What the rebuild writes (first-use values, a default choice no longer
  // offered) is upkeep: the user asked for none of it.
  settings_.unattended([this] { rebuild(); });
}

void StatusMenu::rebuild() {
  floatingWindow_.hide();
  const ShownSettings shown = repairSettings();
  buildMenu(shown);
  if (shown.marks.hideMenuBar) presenter_.removeStatusItem();
  statusItemShown_ = !shown.marks.hideMenuBar;
  applyStatusIcon();
}

// Everything a rebuild writes happens here, before the menu is built from what
// it read: first-use values, and stored choices that name nothing the menu
// offers any more.
StatusMenu::ShownSettings StatusMenu::repairSettings() {
  auto& settings = settings_;
  ShownSettings shown;
  // The selection assistant cannot work without Accessibility; an unchanged value needs no write.
  if (!accessibility_.isProcessTrusted(false) && settings.getBool(keys::selectionAssistant) != false)
    settings.setBool(keys::selectionAssistant, false);

  shown.defaultChoice = settings.ensureString(keys::defaultChoice, values::showBrowserList);
  shown.priority = settings.ensureString(keys::rulePriority, values::priorityDomainsFirst);
  shown.hidden = settings.ensureString(keys::hiddenBrowsers, "");

  const auto added = settings.sharedList(keys::addedBrowsers);
  if (added->state == StoredList::State::absent && settings.contains(keys::addedBrowsers, Domain::suite))
    settings.remove(keys::addedBrowsers, Domain::suite);
  shown.browsers = installedBrowsers(workspace_, *added);
  shown.apps = std::make_shared<ApplicationPaths>(workspace_);

  // The default choice: a listed browser, the opened browser, or else the chooser.
  if (!listsBrowser(shown.browsers, shown.hidden, shown.defaultChoice) &&
      shown.defaultChoice != values::useOpenedBrowser && shown.defaultChoice != values::showBrowserList) {
    settings.setString(keys::defaultChoice, values::showBrowserList);
    shown.defaultChoice = values::showBrowserList;
  }
  // Modifier rules naming no installed application are removed.
  for (std::size_t i = 0; i < kModifierEntries.size(); ++i) {
    const std::string_view key = kModifierEntries[i].first;
    shown.modifierBrowsers[i] = settings.getString(key);
    const auto& browser = shown.modifierBrowsers[i];
    if (browser && namesApplication(*browser) && !shown.apps->named(*browser)) rules_.clearModifierRule(key);
  }
  // So is an onion rule naming no listed browser.
  shown.onion = settings.getString(keys::onionRule);
  if (!listsOnionBrowser(shown.browsers, shown.onion) && settings.contains(keys::onionRule)) {
    settings.remove(keys::onionRule);
    shown.onion.reset();
  }
  // Each listed browser's profiles, and the one the default choice keeps beside its browser.
  for (const auto& browser : shown.browsers.known) {
    if (isHidden(shown.hidden, browser.title)) continue;
    std::vector<std::string> names;
    for (auto& profile : profiles_.profilesOf(browser.title)) names.push_back(std::move(profile.name));
    if (!names.empty()) shown.profileNames.emplace(browser.title, std::move(names));
  }
  if (const auto directory = rules_.profiles().profileFor(RuleProfiles::defaultRule, shown.defaultChoice))
    if (const auto profile = profiles_.find(shown.defaultChoice, *directory)) shown.defaultProfile = profile->name;
  shown.domainRules = settings.sharedList(keys::domainRules);
  shown.appRules = settings.sharedList(keys::appRules);

  shown.selectionAssistant = settings.ensureBool(keys::selectionAssistant, false);
  shown.tabWatcher = settings.ensureBool(keys::tabWatcher, false);
  shown.tabCaptureAvailable = tabCapture_.available();
  shown.selectionUnavailableReason = accessibility_.selectionUnavailableReason();
  PreferenceMarks& marks = shown.marks;
  marks.background = settings.ensureBool(keys::openInBackground, false);
  marks.menuBarOnly = settings.ensureBool(keys::menuBarOnly, false);
  marks.hideMenuBar = settings.ensureBool(keys::hideMenuBar, false);
  marks.updatesAvailable = updater_.available();
  marks.automaticUpdates = marks.updatesAvailable && updater_.automaticallyChecksForUpdates();
  marks.coloredIcon = settings.ensureBool(keys::coloredIcon, true);
  marks.iconSize = settings.ensureDouble(keys::menuBarIconSize, 16.0);
  marks.imagesOnly = settings.ensureBool(keys::imagesOnlyChooser, false);
  marks.multipleFileTypes = settings.ensureBool(keys::multipleFileTypes, false);
  marks.showClose = !settings.ensureBool(keys::hideChooserClose, true);
  marks.showUrl = !settings.ensureBool(keys::hideChooserUrl, true);
  marks.mailto = isOwnHandler(launchServices_.defaultHandler("mailto"));
  // Read, not ensured: a user who never turns it on keeps no new key.
  marks.cleanLinks = settings.getBool(keys::cleanLinks).value_or(false);
  shown.shareBehavior = settings.ensureInteger(keys::shareBehavior, 0, Domain::suite);
  shown.ownHttpHandler = isOwnHandler(launchServices_.defaultHandler("http"));
  shown.capturedTab = tabCapture_.frontTabUrl();
  return shown;
}

// The menu for what repairSettings read; nothing here reads or writes a setting.
void StatusMenu::buildMenu(const ShownSettings& shown) {
  menu_.items.clear();
  const std::string& login = shown.defaultChoice;
  Menu openWith = temporallyOpenWith(shown.browsers, shown.hidden, shown.profileNames);
  // The stored choice names the browser (in any spelling the launcher takes,
  // "Arc.app"); its profile, when there is one, is kept beside it.
  auto isChosen = [&](const std::string& title) {
    if (const auto titled = splitProfileTitle(title))
      return shown.defaultProfile && titled->profile == *shown.defaultProfile &&
             BrowserRegistry::namesListedBrowser(titled->browser, login);
    // A profile the browser no longer lists leaves the browser chosen: the link opens in it as itself.
    return !shown.defaultProfile && BrowserRegistry::namesListedBrowser(title, login);
  };
  MenuItem openWithEntry = entry("Temporally open with:");
  bool browserChosen = false;
  for (auto& item : openWith.items) {
    if (item.separator || browserChosen || !isChosen(item.title)) continue;
    openWithEntry.image = ImageRef::iconOf(item.image.name, {20, 20});
    item.title += "  ✓";
    browserChosen = true;
  }
  const bool openedChosen = !browserChosen && login == values::useOpenedBrowser;
  const bool listChosen = !browserChosen && !openedChosen;

  auto& items = menu_.items;
  if (!shown.capturedTab.empty()) {
    items.push_back(entry(capturedUrlTitle(shown.capturedTab), Action::openCapturedTab));
    items.push_back(MenuItem::separatorItem());
  }
  items.push_back(
      entry((listChosen ? "✓" : "") + std::string(values::showBrowsersList), Action::setDefaultBrowser, "S"));
  items.push_back(
      entry((openedChosen ? "✓" : "") + std::string(values::useOpenedBrowser), Action::setDefaultBrowser, "O"));
  items.push_back(withSubmenu(std::move(openWithEntry), std::move(openWith)));
  items.push_back(
      withSubmenu(entry("Modifier keys", Action::doNothing), modifierKeys(shown.modifierBrowsers, *shown.apps)));
  items.push_back(MenuItem::separatorItem());

  MenuItem rulesLabel = entry("Rules");
  rulesLabel.enabled = false;
  items.push_back(std::move(rulesLabel));
  items.push_back(withSubmenu(entry("Per Domain"), perDomain(shown.domainRules, shown.apps, kListIconSide,
                                                             onionSuffix(shown.onion, shown.browsers))));
  items.push_back(withSubmenu(entry("Per App"), perApp(shown.appRules, shown.apps, kListIconSide)));
  const bool appsFirst = shown.priority == values::priorityAppsFirst;
  items.push_back(withSubmenu(entry(appsFirst ? "Priority (App/Domain)" : "Priority (Domain/App)", Action::doNothing),
                              prioritySubmenu(shown.priority)));
  items.push_back(entry("Test a Link...", Action::testLink, "T"));
  items.push_back(MenuItem::separatorItem());

  items.push_back(withSubmenu(entry("Added browsers"), addedBrowsers(shown.browsers)));
  items.push_back(entry("Instructions", Action::openInstructions, "I"));
  items.push_back(withSubmenu(entry("Experimental", Action::doNothing),
                              experimental(shown.selectionAssistant, shown.tabWatcher, shown.tabCaptureAvailable,
                                           shown.selectionUnavailableReason)));
  items.push_back(withSubmenu(entry("Preferences..."), preferences(shown.marks, shown.browsers, shown.hidden)));
  items.push_back(withSubmenu(entry("Browsers Extensions", Action::doNothing), browsersExtensions()));
  if (shown.marks.updatesAvailable) items.push_back(entry("Check for updates...", Action::checkForUpdates, "U"));
  items.push_back(entry("About Routelle", Action::showAbout, "A"));

  // Built but offered nowhere: the Share extension never reads the choice.
  [[maybe_unused]] const MenuItem shareBehavior = shareExtensionBehavior(shown.shareBehavior);
  [[maybe_unused]] const MenuItem reset = entry("   Reset", Action::labelOnly);

  // The default-browser notice: "?" beside the icon once, the warning sign twice.
  if (shown.ownHttpHandler) {
    statusItem_.title.clear();
  } else {
    items.push_back(MenuItem::separatorItem());
    if (defaultBrowserNotices_ > 1) {
      statusItem_.title.clear();
      items.push_back(entry(std::string(kDefaultBrowserQuestion), Action::makeDefaultBrowser));
    } else {
      items.push_back(entry("❗️" + std::string(kDefaultBrowserQuestion), Action::makeDefaultBrowser));
      statusItem_.title = defaultBrowserNotices_ < 1 ? "?" : "";
      ++defaultBrowserNotices_;
    }
  }
  items.push_back(MenuItem::separatorItem());
  items.push_back(entry("Quit", Action::quit, "Q"));
}

void StatusMenu::applyStatusIcon() {
  const bool colored = settings_.ensureBool(keys::coloredIcon, true);
  const double size = settings_.ensureDouble(keys::menuBarIconSize, 16.0);
  const char* name = colored                                ? "StatusBarButtonImage2"
                     : settings_.interfaceStyle() == "Dark" ? "StatusBarButtonImage3"
                                                            : "StatusBarButtonImage";
  // The artwork is drawn for 16 points; other sizes are redrawn.
  statusItem_.image = size == 16.0 ? ImageRef::bundle(name) : ImageRef::bundle(name, {size, size});
  if (statusItemShown_) presenter_.showStatusItem(statusItem_, menu_);
}

void StatusMenu::scheduleMenuRefresh() {
  pendingRefresh_ = runLoop_.schedule(0.1, [this] { fetchMenu(); });
}

void StatusMenu::refreshMenu() {
  tabCapture_.captureFrontTabURL();
  scheduleMenuRefresh();
}

void StatusMenu::refreshMenuNow() {
  tabCapture_.captureFrontTabURL();
  if (pendingRefresh_) runLoop_.cancel(*pendingRefresh_);
  pendingRefresh_.reset();
  fetchMenu();
}

void StatusMenu::setDefaultChoice(const MenuItem& sender) {
  std::string title = text::replaceAll(sender.title, "✓", "");
  while (!title.empty() && title.back() == ' ') title.pop_back();
  trace_(trace::defaultChoiceSet);
  // A profile's entry stores its browser's name, and the profile beside it.
  std::string profile;
  if (const auto titled = splitProfileTitle(title))
    if (const auto found = profiles_.find(titled->browser, titled->profile)) {
      title = titled->browser;
      profile = found->directory;
    }
  settings_.setString(keys::defaultChoice, title == values::showBrowsersList ? values::showBrowserList : title);
  rules_.profiles().setProfile(RuleProfiles::defaultRule, title, profile);
  refreshMenu();
}

void StatusMenu::removeStatusItem() {
  presenter_.removeStatusItem();
  statusItemShown_ = false;
}

}  // namespace routelle
