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
};

// Owns all live state of the program: the current link and its request flags,
// the menus, the shared floating window. Its behaviour lives in the subsystem
// folders (routing/, app/), each defining the members of its own subsystem.
class AppDelegate {
 public:
  explicit AppDelegate(AppServices services);

  // Diagnostic lines ("open", "go now", ...); dropped unless a sink is set.
  std::function<void(std::string_view)> traceSink;

  // Performs a menu or control action by its selector text; false when unknown.
  bool perform(const std::string& action, const MenuItem& sender);

  // --- Start-up
  void awakeFromNib();

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

  // The menu-refresh hook; the status menu installs its rebuild here.
  std::function<void()> scheduleMenuRefresh = [] {};
  std::function<void()> captureFrontTabURL = [] {};

  // --- State (names as the program has always called them)
  std::string casa;                       // the current link, or an opened file's path
  std::atomic<bool> helpBack{false};      // one-shot open-in-background override
  std::atomic<bool> som{true};            // false: the next launch opens a new window instead
  int mx = 0;                             // fallback counter of one routing pass
  std::optional<RunningApplication> previousApp;
  std::string urls;                       // the front browser tab's URL
  Menu mview2;                            // the open-with menu
  double lado = 20.0;                     // icon size in the open-with menu
  Menu menu;                              // the chooser menu
  Menu menux;                             // the status menu
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
