#import "MacApp.h"

#include <cstdio>

#include "platform/macos/MacPresenter.h"
#include "platform/macos/Strings.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle::macos {
namespace {

// The deactivated application as the core reads it from the notification's user info.
UserInfo deactivatedApplication(NSNotification* notification) {
  UserInfo info;
  NSRunningApplication* app = notification.userInfo[NSWorkspaceApplicationKey];
  if (![app isKindOfClass:[NSRunningApplication class]]) return info;
  info[kApplicationNameKey] = str(app.localizedName);
  if (app.bundleURL) info[kApplicationBundlePathKey] = str(app.bundleURL.path);
  info[kApplicationBundleIdentifierKey] = str(app.bundleIdentifier);
  return info;
}

// Installed for the whole process before anything maps text.
std::unique_ptr<TextServices> installed(std::unique_ptr<TextServices> services) {
  text::useServices(services.get());
  return services;
}

}  // namespace

MacApp::MacApp(id<NSMenuDelegate> menuDelegate)
    : text_(installed(makeTextServices())),
      actions_([[RTLActionTarget alloc] initWithReceiver:this]),
      standard_(makeStandardDefaults()),
      suite_(makeSuiteDefaults(std::string(domains::suite))),
      global_(makeGlobalDefaults()),
      archiver_(makeListArchiver()),
      urls_(makeUrlParser()),
      workspace_(makeWorkspace()),
      launchServices_(makeLaunchServices()),
      processes_(makeProcessLauncher()),
      updater_(makeUpdater()),
      scripts_(makeScriptRunner()),
      events_(makeEvents()),
      runLoop_(makeMainRunLoop()),
      presenter_(makePresenter(actions_, menuDelegate)),
      system_(makeSystemInfo()),
      appleEvents_(makeAppleEvents()),
      application_(makeApplication()),
      accessibility_(makeAccessibility()),
      shortcuts_(makeShortcuts()),
      linkDetector_(makeLinkDetector()),
      pasteboard_(makeGeneralPasteboard()),
      files_(makeFileManager()),
      calendar_(makeCalendar()),
      settings_(*standard_, suite_.get(), global_.get(), *archiver_),
      registry_(settings_, *workspace_),
      rules_(settings_, registry_, *urls_),
      scripting_{.settings = settings_,
                 .registry = registry_,
                 .rules = rules_,
                 .workspaceNotifications = workspaceNotifications_,
                 .updater = *updater_,
                 .launchServices = *launchServices_},
      delegate_(AppServices{.settings = settings_,
                            .registry = registry_,
                            .rules = rules_,
                            .workspace = *workspace_,
                            .launchServices = *launchServices_,
                            .processes = *processes_,
                            .scripts = *scripts_,
                            .events = *events_,
                            .runLoop = *runLoop_,
                            .presenter = *presenter_,
                            .system = *system_,
                            .urls = *urls_,
                            .workspaceNotifications = workspaceNotifications_,
                            .updater = *updater_,
                            .appleEvents = *appleEvents_,
                            .application = *application_,
                            .accessibility = *accessibility_,
                            .shortcuts = *shortcuts_,
                            .linkDetector = *linkDetector_,
                            .pasteboard = *pasteboard_,
                            .files = *files_,
                            .calendar = *calendar_}) {
  delegate_.serveScriptCommands(scripting_);
  // The diagnostic lines go to standard output.
  delegate_.setTraceSink([](std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  });
  // What the user should read without a dialog goes to standard error.
  settings_.report().setSink([](std::string_view line) {
    std::fprintf(stderr, "routelle: %.*s\n", static_cast<int>(line.size()), line.data());
  });
  // The workspace's own notification reaches the core's centre; the program's own
  // notifications ("fetchmenu", "export", "import") are posted there directly.
  NotificationCenter* center = &workspaceNotifications_;
  deactivationObserver_ = [[NSWorkspace sharedWorkspace].notificationCenter
      addObserverForName:NSWorkspaceDidDeactivateApplicationNotification
                  object:nil
                   queue:[NSOperationQueue mainQueue]
              usingBlock:^(NSNotification* notification) {
                center->post(kDidDeactivateApplicationNotification, deactivatedApplication(notification));
              }];
}

MacApp::~MacApp() {
  [[NSWorkspace sharedWorkspace].notificationCenter removeObserver:deactivationObserver_];
  text::useServices(nullptr);
}

bool MacApp::isWatchedMenu(const Menu* menu) {
  return menu == &delegate_.statusMenu().menu() || menu == &delegate_.chooser().menu() ||
         menu == &delegate_.selectionMenu();
}

}  // namespace routelle::macos
