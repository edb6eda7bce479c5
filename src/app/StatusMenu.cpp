// The status item and its menu, rebuilt from the stored settings.
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include "app/AppDelegate.h"
#include "app/StatusMenuSubmenus.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

using namespace statusmenu;

constexpr int32_t kUrlTitleLength = 35;
constexpr std::string_view kDefaultBrowserQuestion = "Set Routelle as Default web browser?";

// The captured link as the menu shows it, counted in the platform's UTF-16 units
// and never cut inside a surrogate pair.
std::string capturedUrlTitle(const std::string& url) {
  const auto u = icu::UnicodeString::fromUTF8(icu::StringPiece(url.data(), static_cast<int32_t>(url.size())));
  if (u.length() <= kUrlTitleLength) return url;
  const int32_t cut = U16_IS_LEAD(u.charAt(kUrlTitleLength - 1)) ? kUrlTitleLength - 1 : kUrlTitleLength;
  std::string title;
  u.tempSubString(0, cut).toUTF8String(title);
  return title + "...";
}

}  // namespace

void AppDelegate::fetchMenu() {
  hideFloatingWindow();
  auto& settings = s_.settings;
  // The selection assistant cannot work without Accessibility; an unchanged value needs no write.
  if (!s_.accessibility.isProcessTrusted(false) && settings.getBool(keys::experimental) != false)
    settings.setBool(keys::experimental, false);

  menux.items.clear();
  bmen1.items.clear();
  pMenu.items.clear();
  const std::string login = settings.ensureString(keys::login, values::showBrowserList);
  const std::string priority = settings.ensureString(keys::priority, values::priorityDomainsFirst);
  const std::string hidden = settings.ensureString(keys::hiddenBrowsers, "");

  const auto added = settings.sharedList(keys::addedbrowsers);
  if (added->state == StoredList::State::absent && settings.contains(keys::addedbrowsers, Domain::suite))
    settings.remove(keys::addedbrowsers, Domain::suite);
  const InstalledBrowsers browsers = installedBrowsers(s_.workspace, *added);
  ApplicationPaths apps(s_.workspace);

  // The default choice: a listed browser, the opened browser, or else the chooser.
  Menu openWith = temporallyOpenWith(browsers, hidden);
  MenuItem openWithEntry = entry("Temporally open with:");
  bool browserChosen = false;
  for (auto& item : openWith.items) {
    if (item.separator || item.title != login) continue;
    openWithEntry.image = ImageRef::iconOf(item.image.name, {20, 20});
    item.title += "  ✓";
    browserChosen = true;
  }
  const bool openedChosen = !browserChosen && login == values::useOpenedBrowser;
  if (!browserChosen && !openedChosen && login != values::showBrowserList)
    settings.setString(keys::login, values::showBrowserList);
  const bool listChosen = !browserChosen && !openedChosen;

  auto& items = menux.items;
  if (!urls.empty()) {
    items.push_back(entry(capturedUrlTitle(urls), "linkUrl:"));
    items.push_back(MenuItem::separatorItem());
  }
  items.push_back(entry((listChosen ? "✓" : "") + std::string(values::showBrowsersList), "openy:", "S"));
  items.push_back(entry((openedChosen ? "✓" : "") + std::string(values::useOpenedBrowser), "openy:", "O"));
  items.push_back(withSubmenu(std::move(openWithEntry), std::move(openWith)));
  items.push_back(withSubmenu(entry("Modifier keys", "nada"), modifierKeys(settings, s_.rules, apps)));
  items.push_back(MenuItem::separatorItem());

  MenuItem rulesLabel = entry("Rules");
  rulesLabel.enabled = false;
  items.push_back(std::move(rulesLabel));
  items.push_back(withSubmenu(entry("Per Domain"), perDomain(*settings.sharedList(keys::domains), apps, lado,
                                                             onionSuffix(settings, browsers))));
  items.push_back(withSubmenu(entry("Per App"), perApp(*settings.sharedList(keys::perApp), apps, lado)));
  ePriority1 = toggle(priority == values::priorityDomainsFirst, "Per Domain", "changePriority:");
  ePriority1.keyEquivalent = "perDomain";
  ePriority2 = toggle(priority == values::priorityAppsFirst, "Per App", "changePriority:");
  ePriority2.keyEquivalent = "perApp";
  pMenu.items = {ePriority1, ePriority2};
  const bool appsFirst = priority == values::priorityAppsFirst;
  ePriority = withSubmenu(entry(appsFirst ? "Priority (App/Domain)" : "Priority (Domain/App)", "nada"), pMenu);
  items.push_back(ePriority);
  items.push_back(MenuItem::separatorItem());

  items.push_back(withSubmenu(entry("Added browsers"), addedBrowsers(browsers)));
  items.push_back(entry("Instructions", "readme", "I"));
  items.push_back(withSubmenu(
      entry("Experimental", "nada"),
      experimental(settings.ensureBool(keys::experimental, false), settings.ensureBool(keys::experimental2, false))));

  PreferenceMarks marks;
  marks.background = settings.ensureBool(keys::background, false);
  marks.menuBarOnly = settings.ensureBool(keys::hide, false);
  marks.hideMenuBar = settings.ensureBool(keys::hideAll, false);
  marks.coloredIcon = settings.ensureBool(keys::clicon, true);
  marks.iconSize = settings.ensureDouble(keys::menuBarIconSize, 16.0);
  marks.imagesOnly = settings.ensureBool(keys::imonly, false);
  marks.multipleFileTypes = settings.ensureBool(keys::showeditor, false);
  marks.showClose = !settings.ensureBool(keys::hideExit, true);
  marks.showUrl = !settings.ensureBool(keys::hideUrl, true);
  marks.mailto = isOwnIdentifier(s_.launchServices.defaultHandler("mailto"));
  e2 = toggle(s_.updater.automaticallyChecksForUpdates(), "Automatically check for updates", "checkWeek");
  fillPreferences(bmen1, marks, e2, browsers, hidden);
  items.push_back(withSubmenu(entry("Preferences..."), bmen1));

  items.push_back(withSubmenu(entry("Browsers Extensions", "nada"), browsersExtensions()));
  items.push_back(entry("Check for updates...", "checkNow", "U"));
  items.push_back(entry("About Routelle", "dialogOKCancel2", "A"));

  // Built but offered nowhere: the Share extension never reads the choice.
  [[maybe_unused]] const MenuItem shareBehavior =
      shareExtensionBehavior(settings.ensureInteger(keys::sharebehavior, 0, Domain::suite));
  [[maybe_unused]] const MenuItem reset = entry("   Reset", "reset");

  // The default-browser notice: "?" beside the icon once, the warning sign twice.
  if (isOwnIdentifier(s_.launchServices.defaultHandler("http"))) {
    statusItem.title.clear();
  } else {
    items.push_back(MenuItem::separatorItem());
    if (numbShow > 1) {
      statusItem.title.clear();
      items.push_back(entry(std::string(kDefaultBrowserQuestion), "setBrowserDefault"));
    } else {
      items.push_back(entry("❗️" + std::string(kDefaultBrowserQuestion), "setBrowserDefault"));
      statusItem.title = numbShow < 1 ? "?" : "";
      ++numbShow;
    }
  }
  items.push_back(MenuItem::separatorItem());
  items.push_back(entry("Quit", "exit", "Q"));

  if (marks.hideMenuBar) s_.presenter.removeStatusItem();
  statusBarItem = !marks.hideMenuBar;
  applyStatusIcon();
}

void AppDelegate::applyStatusIcon() {
  auto& settings = s_.settings;
  const bool colored = settings.ensureBool(keys::clicon, true);
  const double size = settings.ensureDouble(keys::menuBarIconSize, 16.0);
  const char* name = colored                               ? "StatusBarButtonImage2"
                     : settings.interfaceStyle() == "Dark" ? "StatusBarButtonImage3"
                                                           : "StatusBarButtonImage";
  // The artwork is drawn for 16 points; other sizes are redrawn.
  statusItem.image = size == 16.0 ? ImageRef::bundle(name) : ImageRef::bundle(name, {size, size});
  if (statusBarItem) s_.presenter.showStatusItem(statusItem, menux);
}

void AppDelegate::scheduleMenuRefresh() {
  uiUpdateTimerx = s_.runLoop.schedule(0.1, [this] { fetchMenu(); });
}

void AppDelegate::menuWillOpen(const Menu&) {
  captureFrontTabURL();
  scheduleMenuRefresh();
}

void AppDelegate::printQuote1(const MenuItem&) {
  captureFrontTabURL();
  scheduleMenuRefresh();
}

}  // namespace routelle
