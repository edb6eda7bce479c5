#pragma once
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/AppleEvents.h"
#include "platform/Application.h"
#include "platform/Events.h"
#include "platform/LaunchServices.h"
#include "platform/Pasteboard.h"
#include "platform/Presenter.h"
#include "platform/ProcessLauncher.h"
#include "platform/RunLoop.h"
#include "platform/ScriptRunner.h"
#include "platform/Updater.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/NotificationCenter.h"
#include "ui/Menu.h"

namespace routelle {

// The workspace's deactivation notification; its user info describes the
// application that was deactivated.
inline constexpr const char* kDidDeactivateApplicationNotification = "NSWorkspaceDidDeactivateApplicationNotification";
inline constexpr const char* kApplicationNameKey = "NSWorkspaceApplicationKey";
inline constexpr const char* kApplicationBundlePathKey = "bundlePath";
inline constexpr const char* kApplicationBundleIdentifierKey = "bundleIdentifier";

// The services the delegate acts through.
struct AppServices {
  SettingsStore& settings;
  BrowserRegistry& registry;
  RuleStore& rules;
  Workspace& workspace;
  LaunchServices& launchServices;
  ProcessLauncher& processes;
  ScriptRunner& scripts;
  Events& events;
  RunLoop& runLoop;
  Presenter& presenter;
  SystemInfo& system;
  const UrlParser& urls;
  NotificationCenter& workspaceNotifications;
  Updater& updater;
  AppleEvents& appleEvents;
  Application& application;
  Accessibility& accessibility;
  Shortcuts& shortcuts;
};

// Owns all live state of the program: the current link and its request flags,
// the menus, the shared floating window. Its behaviour lives in the subsystem
// folders (routing/, app/), each defining the members of its own subsystem.
class AppDelegate : public UpdaterDelegate {
 public:
  explicit AppDelegate(AppServices services);

  // Diagnostic lines ("open", "go now", ...); dropped unless a sink is set.
  std::function<void(std::string_view)> traceSink;

  // Performs a menu or control action by its selector text; false when unknown.
  bool perform(const std::string& action, const MenuItem& sender);

  // --- Start-up and lifecycle
  void awakeFromNib();
  void applicationWillFinishLaunching();
  void applicationDidFinishLaunching();
  // The user opened the running application again.
  bool applicationShouldHandleReopen(bool hasVisibleWindows);
  const Menu& applicationDockMenu() const { return menux; }
  void exit(const MenuItem& sender);

  // --- Status-bar menu
  void fetchMenu();
  void applyStatusIcon();
  void scheduleMenuRefresh();
  void menuWillOpen(const Menu& menu);
  void printQuote1(const MenuItem& sender);

  // --- Preference toggles
  void openBack(const MenuItem& sender);
  void only(const MenuItem& sender);
  void hideAllOnly(const MenuItem& sender);
  void onlyx(const MenuItem& sender);
  void showEdit(const MenuItem& sender);
  void changeHexit(const MenuItem& sender);
  void changesUrl(const MenuItem& sender);
  void changeIcon(const MenuItem& sender);
  void slideMove(const MenuItem& sender);  // the sender's view holds the slider's value
  void expActive(const MenuItem& sender);
  void expiActive(const MenuItem& sender);
  void changePriority(const MenuItem& sender);
  void changeBehavior(const MenuItem& sender);
  void openBrowserExtensionsPageWithSender(const MenuItem& sender);
  void hideBrowsersWithSender(const MenuItem& sender);

  // --- Registration, updates, About and the maker's pages
  void setBrowserDefault(const MenuItem& sender);
  void setMailDefault(const MenuItem& sender);
  void checkNow(const MenuItem& sender);
  void checkWeek(const MenuItem& sender);
  void dialogOKCancel2(const MenuItem& sender);
  void cancelBt(const MenuItem& sender);
  void saveBte(const MenuItem& sender);
  void saveBte2(const MenuItem& sender);
  void readme(const MenuItem& sender);
  void maisApps(const MenuItem& sender);
  void openNew(const MenuItem& sender);
  void updaterDidNotFindUpdate() override;
  void updaterDidFindValidUpdate() override;
  void updaterDidFinishLoadingAppcast() override;
  bool updaterShouldRelaunchApplication() override;
  void updaterWillRelaunchApplication() override;

  // --- Link intake
  void handleGetURLEvent(const std::optional<std::string>& directParameter);
  bool applicationOpenFile(const std::string& path);
  void openUrlWithRtl(Pasteboard& pasteboard);
  void linkUrl(const MenuItem& sender);
  void showOpenWithMenu(const std::string& url, bool isFile);

  // --- Routing decision
  void routeLink();
  void routeWithPriority(const std::string& priority, const std::optional<std::string>& host);
  void routeByApplication(const std::optional<std::string>& host);
  void routeByDomain(const std::optional<std::string>& host);
  void routeByDefaultChoice();
  void useOpenedBrowser();
  void setPreviousApplication(std::optional<RunningApplication> app);
  void setDefaultChoice(const MenuItem& sender);  // openy:
  void handleNewWindowShortcut();

  // --- Browser launcher
  void launchBrowser(const std::string& link, const std::string& browser);
  void openNewBrowserWindow(const std::string& browser);

  // --- Browsers-list chooser
  void showBrowsersList();
  void buildBrowsersListMenu();
  void showFloatingBrowsersWindow();
  void hideFloatingWindow();
  void styleFloatingWindow(View content);
  void openx(const MenuItem& sender);
  void xNada(const MenuItem& sender);
  void nada(const MenuItem&) {}

  // Reads the front browser tab into `urls`; installed by the tab capture.
  std::function<void()> captureFrontTabURL = [] {};
  // The in-browser tab watcher; installed by the tab capture.
  std::function<void()> startTabWatcher = [] {};
  std::function<void()> stopTabWatcher = [] {};
  // Rule exchange, the selection monitors and the application list of the
  // per-application editor are installed by their own subsystems.
  std::function<void(const std::string& path)> exportRules = [](const std::string&) {};
  std::function<void(const std::string& path)> importRules = [](const std::string&) {};
  std::function<void()> installSelectionMonitors = [] {};
  std::function<void()> fillApplicationsPopup = [] {};
  // A menu refresh: the front tab, then the 0.1-second rebuild.
  void refreshMenu() {
    captureFrontTabURL();
    scheduleMenuRefresh();
  }

  // --- State (names as the program has always called them)
  std::string casa;                   // the current link, or an opened file's path
  std::atomic<bool> helpBack{false};  // one-shot open-in-background override
  std::atomic<bool> som{true};        // false: the next launch opens a new window instead
  int mx = 0;                         // fallback counter of one routing pass
  std::optional<RunningApplication> previousApp;
  std::string urls;    // the front browser tab's URL
  Menu mview2;         // the open-with menu
  double lado = 20.0;  // icon size in the open-with menu
  Menu menu;           // the chooser menu
  Menu menux;          // the status menu
  Menu bmen1;          // its "Preferences..." submenu
  Menu pMenu;          // its priority submenu
  MenuItem e2, ePriority, ePriority1, ePriority2;
  bool statusBarItem = false;  // the status item exists
  StatusItemModel statusItem;
  std::optional<int> uiUpdateTimerx;      // the pending refresh timer
  int numbShow = 0;                       // refreshes that showed the default-browser notice
  std::optional<WindowModel> newWindow2;  // the About window
  Menu menuy;                             // the selection assistant's menu
  std::vector<MenuItem> bts;              // the chooser's visible entries
  std::optional<WindowModel> newWindow;   // the shared floating window
  bool isShowing = false;
  std::optional<RunningApplication> oApp;
  bool bomxx = false;

  AppServices& services() { return s_; }

 private:
  void trace(std::string_view line) const {
    if (traceSink) traceSink(line);
  }
  std::optional<std::string> hostOf(const std::string& link) const;
  void routeLinkNow();
  static bool isOwnIdentifier(const std::optional<std::string>& identifier);
  static RunningApplication runningApplicationFrom(const UserInfo& info);
  // The browser the domain rules name for a host (first pair, domain positions only).
  std::optional<std::string> domainRuleBrowser(const std::string& host);
  std::optional<std::string> appRuleBrowser(const std::shared_ptr<const StoredList>& perApp,
                                            const std::string& application);
  std::optional<std::string> firstRunningKnownBrowser();
  View urlField(double width, double lineHeightOffset) const;

  AppServices s_;
  // Domain rules indexed for the list last read; rebuilt when the stored list changes.
  std::shared_ptr<const StoredList> indexedDomains_;
  std::unordered_map<std::string_view, std::size_t> domainIndex_;
  std::shared_ptr<const StoredList> indexedApps_;
  std::unordered_map<std::string, std::string> appIndex_;
};

// The last "/"-separated component with every ".app" removed.
std::string appNameFromPath(const std::string& path);
// The link as the program handles it: own scheme and marker removed, scheme repaired.
std::string normaliseLink(const std::string& text);

}  // namespace routelle
