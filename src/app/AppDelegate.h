#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "app/AboutWindow.h"
#include "app/BrowsersListChooser.h"
#include "app/CleaningAdditions.h"
#include "app/LinkTester.h"
#include "app/PreferenceToggles.h"
#include "app/Registration.h"
#include "app/SaveFailureAlerts.h"
#include "app/StatusMenu.h"
#include "editors/RuleEditors.h"
#include "exchange/RuleExchange.h"
#include "platform/Accessibility.h"
#include "platform/AppleEvents.h"
#include "platform/Application.h"
#include "platform/Calendar.h"
#include "platform/Events.h"
#include "platform/FileManager.h"
#include "platform/LaunchServices.h"
#include "platform/LinkDetector.h"
#include "platform/Pasteboard.h"
#include "platform/Presenter.h"
#include "platform/ProcessLauncher.h"
#include "platform/RunLoop.h"
#include "platform/ScriptRunner.h"
#include "platform/Shortcuts.h"
#include "platform/SystemInfo.h"
#include "platform/Updater.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "routing/BrowserLauncher.h"
#include "routing/LinkCleaner.h"
#include "routing/LinkIntake.h"
#include "routing/LinkRequest.h"
#include "routing/Router.h"
#include "routing/TabCapture.h"
#include "routing/TabWatcher.h"
#include "scripting/ScriptCommand.h"
#include "selection/FloatingWindow.h"
#include "selection/SelectionMonitor.h"
#include "selection/SelectionPanel.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/NotificationCenter.h"
#include "support/Trace.h"
#include "ui/Actions.h"
#include "ui/Menu.h"

namespace routelle {

// The workspace's deactivation notification; its user info describes the
// application that was deactivated.
inline constexpr const char* kDidDeactivateApplicationNotification = "NSWorkspaceDidDeactivateApplicationNotification";
inline constexpr const char* kApplicationNameKey = "NSWorkspaceApplicationKey";
inline constexpr const char* kApplicationBundlePathKey = "bundlePath";
inline constexpr const char* kApplicationBundleIdentifierKey = "bundleIdentifier";

// The services the program acts through, from the composition root.
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
  const LinkDetector& linkDetector;
  Pasteboard& pasteboard;  // the general pasteboard
  FileManager& files;
  Calendar& calendar;
};

// What the platform sees of the program: the application's, the menus' and the
// Apple events' callbacks and every menu action. It owns the program's live
// state as components, one per subsystem, and forwards to them.
class AppDelegate final : public ActionTarget {
 public:
  explicit AppDelegate(AppServices services);

  // Diagnostic lines ("open", "go now", ...); dropped unless a sink is set.
  void setTraceSink(std::function<void(std::string_view)> sink) { trace_.setSink(std::move(sink)); }

  // Start-up, in the platform's order.
  void awakeFromNib();
  void applicationWillFinishLaunching();
  void applicationDidFinishLaunching();
  // The user opened the running application again.
  bool applicationShouldHandleReopen(bool hasVisibleWindows);
  // The Dock icon's menu: the status menu, current.
  const Menu& applicationDockMenu();
  bool applicationOpenFile(const std::string& path) { return linkIntake_.applicationOpenFile(path); }
  // What a link clicked now would do, as readable lines; nothing is done.
  std::string explainLink(const std::string& link);
  // Script commands, made before the program, find browsers' profiles where it
  // does and ask it about links from here on.
  void serveScriptCommands(ScriptContext& context);
  // The status menu and the chooser menu are about to open.
  void menuWillOpen(const Menu& menu);
  // A menu entry's or a control's action, by its selector text.
  bool perform(const std::string& selector, const MenuItem& sender) override;

  // The components, for the host driver and the tests.
  LinkRequest& linkRequest() { return request_; }
  LinkIntake& linkIntake() { return linkIntake_; }
  Router& router() { return router_; }
  LinkCleaner& linkCleaner() { return linkCleaner_; }
  BrowserProfiles& browserProfiles() { return profiles_; }
  BrowserLauncher& launcher() { return launcher_; }
  BrowsersListChooser& chooser() { return chooser_; }
  FloatingWindow& floatingWindow() { return floatingWindow_; }
  StatusMenu& statusMenu() { return statusMenu_; }
  TabCapture& tabCapture() { return tabCapture_; }
  TabWatcher& tabWatcher() { return tabWatcher_; }
  Registration& registration() { return registration_; }
  RuleExchange& exchange() { return exchange_; }
  const Menu& selectionMenu() const { return selectionMenu_; }
  SelectionMonitor& selectionMonitor() { return selectionMonitor_; }
  SelectionPanel& selectionPanel() { return selectionPanel_; }
  RuleEditors& ruleEditors() { return editors_; }
  LinkTester& linkTester() { return linkTester_; }
  CleaningAdditions& cleaningAdditions() { return cleaningAdditions_; }

 private:
  void handleNewWindowShortcut() { router_.handleNewWindowShortcut(); }
  void finishLaunching();

  AppServices s_;
  Trace trace_;
  SaveFailureAlerts saveFailures_;
  Menu selectionMenu_;  // "menuy"
  LinkRequest request_;
  LinkCleaner linkCleaner_;
  BrowserProfiles profiles_;
  TabCapture tabCapture_;
  FloatingWindow floatingWindow_;
  StatusMenu statusMenu_;
  BrowsersListChooser chooser_;
  BrowserLauncher launcher_;
  TabWatcher tabWatcher_;
  SelectionPanel selectionPanel_;
  SelectionMonitor selectionMonitor_;
  Router router_;
  LinkIntake linkIntake_;
  PreferenceToggles toggles_;
  Registration registration_;
  AboutWindow about_;
  RuleEditors editors_;
  RuleExchange exchange_;
  LinkTester linkTester_;
  CleaningAdditions cleaningAdditions_;
};

}  // namespace routelle
