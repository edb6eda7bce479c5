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

StatusMenu::StatusMenu(SettingsStore& settings, RuleStore& rules, Workspace& workspace, LaunchServices& launchServices,
                       Accessibility& accessibility, Updater& updater, Presenter& presenter, RunLoop& runLoop,
                       FloatingWindow& floatingWindow, TabCapture& tabCapture, const Trace& trace)
    : settings_(settings),
      rules_(rules),
      workspace_(workspace),
      launchServices_(launchServices),
      accessibility_(accessibility),
      updater_(updater),
      presenter_(presenter),
      runLoop_(runLoop),
      floatingWindow_(floatingWindow),
      tabCapture_(tabCapture),
      trace_(trace) {}

void StatusMenu::createStatusItem() {
  statusItemShown_ = true;
  statusItem_.action = selector(Action::printQuote1);
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
  auto& settings = settings_;
  // The selection assistant cannot work without Accessibility; an unchanged value needs no write.
  if (!accessibility_.isProcessTrusted(false) && settings.getBool(keys::experimental) != false)
    settings.setBool(keys::experimental, false);

  menu_.items.clear();
  const std::string login = settings.ensureString(keys::login, values::showBrowserList);
  const std::string priority = settings.ensureString(keys::priority, values::priorityDomainsFirst);
  const std::string hidden = settings.ensureString(keys::hiddenBrowsers, "");

  const auto added = settings.sharedList(keys::addedbrowsers);
  if (added->state == StoredList::State::absent && settings.contains(keys::addedbrowsers, Domain::suite))
    settings.remove(keys::addedbrowsers, Domain::suite);
  const InstalledBrowsers browsers = installedBrowsers(workspace_, *added);
  ApplicationPaths apps(workspace_);

  // The default choice: a listed browser, the opened browser, or else the chooser.
  // The browser may be stored in any spelling the launcher takes ("Arc.app").
  Menu openWith = temporallyOpenWith(browsers, hidden);
  MenuItem openWithEntry = entry("Temporally open with:");
  bool browserChosen = false;
  for (auto& item : openWith.items) {
    if (item.separator || browserChosen || !BrowserRegistry::namesListedBrowser(item.title, login)) continue;
    openWithEntry.image = ImageRef::iconOf(item.image.name, {20, 20});
    item.title += "  ✓";
    browserChosen = true;
  }
  const bool openedChosen = !browserChosen && login == values::useOpenedBrowser;
  if (!browserChosen && !openedChosen && login != values::showBrowserList)
    settings.setString(keys::login, values::showBrowserList);
  const bool listChosen = !browserChosen && !openedChosen;

  auto& items = menu_.items;
  if (const std::string captured = tabCapture_.frontTabUrl(); !captured.empty()) {
    items.push_back(entry(capturedUrlTitle(captured), Action::linkUrl));
    items.push_back(MenuItem::separatorItem());
  }
  items.push_back(entry((listChosen ? "✓" : "") + std::string(values::showBrowsersList), Action::openy, "S"));
  items.push_back(entry((openedChosen ? "✓" : "") + std::string(values::useOpenedBrowser), Action::openy, "O"));
  items.push_back(withSubmenu(std::move(openWithEntry), std::move(openWith)));
  items.push_back(withSubmenu(entry("Modifier keys", Action::nada), modifierKeys(settings, rules_, apps)));
  items.push_back(MenuItem::separatorItem());

  MenuItem rulesLabel = entry("Rules");
  rulesLabel.enabled = false;
  items.push_back(std::move(rulesLabel));
  items.push_back(withSubmenu(entry("Per Domain"), perDomain(*settings.sharedList(keys::domains), apps, kListIconSide,
                                                             onionSuffix(settings, browsers))));
  items.push_back(withSubmenu(entry("Per App"), perApp(*settings.sharedList(keys::perApp), apps, kListIconSide)));
  const bool appsFirst = priority == values::priorityAppsFirst;
  items.push_back(withSubmenu(entry(appsFirst ? "Priority (App/Domain)" : "Priority (Domain/App)", Action::nada),
                              prioritySubmenu(priority)));
  items.push_back(MenuItem::separatorItem());

  items.push_back(withSubmenu(entry("Added browsers"), addedBrowsers(browsers)));
  items.push_back(entry("Instructions", Action::readme, "I"));
  items.push_back(withSubmenu(
      entry("Experimental", Action::nada),
      experimental(settings.ensureBool(keys::experimental, false), settings.ensureBool(keys::experimental2, false))));

  PreferenceMarks marks;
  marks.background = settings.ensureBool(keys::background, false);
  marks.menuBarOnly = settings.ensureBool(keys::hide, false);
  marks.hideMenuBar = settings.ensureBool(keys::hideAll, false);
  marks.automaticUpdates = updater_.automaticallyChecksForUpdates();
  marks.coloredIcon = settings.ensureBool(keys::clicon, true);
  marks.iconSize = settings.ensureDouble(keys::menuBarIconSize, 16.0);
  marks.imagesOnly = settings.ensureBool(keys::imonly, false);
  marks.multipleFileTypes = settings.ensureBool(keys::showeditor, false);
  marks.showClose = !settings.ensureBool(keys::hideExit, true);
  marks.showUrl = !settings.ensureBool(keys::hideUrl, true);
  marks.mailto = isOwnHandler(launchServices_.defaultHandler("mailto"));
  items.push_back(withSubmenu(entry("Preferences..."), preferences(marks, browsers, hidden)));

  items.push_back(withSubmenu(entry("Browsers Extensions", Action::nada), browsersExtensions()));
  items.push_back(entry("Check for updates...", Action::checkNow, "U"));
  items.push_back(entry("About Routelle", Action::dialogOKCancel2, "A"));

  // Built but offered nowhere: the Share extension never reads the choice.
  [[maybe_unused]] const MenuItem shareBehavior =
      shareExtensionBehavior(settings.ensureInteger(keys::sharebehavior, 0, Domain::suite));
  [[maybe_unused]] const MenuItem reset = entry("   Reset", Action::reset);

  // The default-browser notice: "?" beside the icon once, the warning sign twice.
  if (isOwnHandler(launchServices_.defaultHandler("http"))) {
    statusItem_.title.clear();
  } else {
    items.push_back(MenuItem::separatorItem());
    if (defaultBrowserNotices_ > 1) {
      statusItem_.title.clear();
      items.push_back(entry(std::string(kDefaultBrowserQuestion), Action::setBrowserDefault));
    } else {
      items.push_back(entry("❗️" + std::string(kDefaultBrowserQuestion), Action::setBrowserDefault));
      statusItem_.title = defaultBrowserNotices_ < 1 ? "?" : "";
      ++defaultBrowserNotices_;
    }
  }
  items.push_back(MenuItem::separatorItem());
  items.push_back(entry("Quit", Action::exit, "Q"));

  if (marks.hideMenuBar) presenter_.removeStatusItem();
  statusItemShown_ = !marks.hideMenuBar;
  applyStatusIcon();
}

void StatusMenu::applyStatusIcon() {
  const bool colored = settings_.ensureBool(keys::clicon, true);
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
  trace_(trace::loginMissing);
  settings_.setString(keys::login, title == values::showBrowsersList ? values::showBrowserList : title);
  refreshMenu();
}

void StatusMenu::removeStatusItem() {
  presenter_.removeStatusItem();
  statusItemShown_ = false;
}

}  // namespace routelle
