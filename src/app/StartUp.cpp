// Start-up in the platform's order, and the lifecycle handlers.
#include "app/AppDelegate.h"
#include "app/MakerPages.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr unsigned kKeyCodeN = 45;
constexpr std::uint64_t kControlOptionCommand = 0x1C0000;
constexpr unsigned long kTitledWindowMask = 1;

}  // namespace

bool AppDelegate::isOwnIdentifier(const std::optional<std::string>& identifier) {
  return identifier && text::lowercased(*identifier).starts_with("com.kestrova.routelle");
}

void AppDelegate::applicationWillFinishLaunching() {
  auto& center = s_.workspaceNotifications;
  center.addObserver(kDidDeactivateApplicationNotification, [this](const std::string&, const UserInfo& info) {
    setPreviousApplication(runningApplicationFrom(info));
  });
  center.addObserver("fetchmenu", [this](const std::string&, const UserInfo&) { fetchMenu(); });
  center.addObserver("export", [this](const std::string&, const UserInfo& info) {
    auto path = info.find("path");
    exportRules(path == info.end() ? std::string() : path->second);
  });
  center.addObserver("import", [this](const std::string&, const UserInfo& info) {
    auto path = info.find("path");
    importRules(path == info.end() ? std::string() : path->second);
  });
  buildBrowsersListMenu();
  installSelectionMonitors();
}

void AppDelegate::applicationDidFinishLaunching() {
  s_.shortcuts.unregisterAllShortcuts();
  s_.shortcuts.registerShortcut(kKeyCodeN, kControlOptionCommand, [this] { handleNewWindowShortcut(); });

  newWindow = WindowModel{};
  newWindow->styleMask |= kTitledWindowMask;
  statusBarItem = true;
  newWindow2 = WindowModel{};
  newWindow2->styleMask |= kTitledWindowMask;

  auto& settings = s_.settings;
  settings.ensureBool(keys::hideExit, true);
  settings.ensureBool(keys::hideUrl, true);
  settings.ensureBool(keys::clicon, true);
  settings.setDouble(keys::menuBarIconSize, settings.ensureDouble(keys::menuBarIconSize, 16.0));

  statusItem.action = "printQuote1:";
  applyStatusIcon();
  refreshMenu();
  s_.presenter.showStatusItem(statusItem, menux);

  if (!settings.contains(keys::hide)) trace("login==nil");
  if (settings.ensureBool(keys::hide, false)) s_.application.setActivationPolicy(ActivationPolicy::accessory);

  // Offer once to become the default browser.
  const bool ask = settings.ensureBool(keys::askb, true);
  if (isOwnIdentifier(s_.launchServices.defaultHandler("http"))) {
    settings.setBool(keys::askb, false);
  } else if (ask) {
    settings.setBool(keys::askb, false);
    s_.launchServices.setDefaultHandler("http", std::string(domains::ownBundleIdentifier));
    s_.launchServices.setDefaultHandler("https", std::string(domains::ownBundleIdentifier));
  }

  s_.updater.setFeedURL(std::string(pages::updateFeed));
  s_.updater.setUpdateCheckInterval(86400.0);
  s_.updater.setDelegate(this);

  trace("This is run on the background queue");
  s_.runLoop.schedule(0, [this] { fillApplicationsPopup(); });

  if (settings.ensureBool(keys::experimental2, false)) startTabWatcher();
  s_.application.setServicesProvider([this](Pasteboard& pasteboard) { openUrlWithRtl(pasteboard); });
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
  trace("reopen");
  buildBrowsersListMenu();
  if (s_.settings.ensureBool(keys::imonly, false)) {
    showFloatingBrowsersWindow();
  } else {
    trace("pop service");
    if (auto chosen = s_.presenter.popUpMenu(menux, s_.events.mouseLocation())) perform(chosen->action, *chosen);
  }
  return true;
}

void AppDelegate::exit(const MenuItem&) { s_.application.terminate(); }

RunningApplication AppDelegate::runningApplicationFrom(const UserInfo& info) {
  RunningApplication app;
  auto field = [&info](const char* key) {
    auto it = info.find(key);
    return it == info.end() ? std::optional<std::string>() : std::optional<std::string>(it->second);
  };
  app.localizedName = field(kApplicationNameKey).value_or("");
  app.bundlePath = field(kApplicationBundlePathKey);
  app.bundleIdentifier = field(kApplicationBundleIdentifierKey).value_or("");
  return app;
}

}  // namespace routelle
