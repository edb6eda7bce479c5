#pragma once
// The program composed over the platform's services: every adapter, the stores,
// the script commands' context and the application delegate. Objective-C++ only.
#import <AppKit/AppKit.h>

#include <memory>

#import "ActionTarget.h"

#include "app/AppDelegate.h"
#include "platform/macos/MacPlatform.h"
#include "scripting/ScriptCommand.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/NotificationCenter.h"

namespace routelle::macos {

// Menus and controls send their actions to its action target, which hands them
// on to the delegate.
class MacApp final : public ActionTarget {
 public:
  // Every menu shown gets `menuDelegate`.
  explicit MacApp(id<NSMenuDelegate> menuDelegate);
  ~MacApp();
  MacApp(const MacApp&) = delete;
  MacApp& operator=(const MacApp&) = delete;

  AppDelegate& delegate() { return delegate_; }
  RTLActionTarget* actionTarget() const { return actions_; }
  bool perform(const std::string& selector, const MenuItem& sender) override {
    return delegate_.perform(selector, sender);
  }
  ScriptContext& scripting() { return scripting_; }
  // The menus whose opening the delegate is told of: the status menu ("menux"),
  // the chooser ("menu") and the selection assistant's ("menuy").
  bool isWatchedMenu(const Menu* menu);

 private:
  // First: every member built below already maps text through the system.
  std::unique_ptr<TextServices> text_;
  __strong RTLActionTarget* actions_;
  std::unique_ptr<Defaults> standard_;
  std::unique_ptr<Defaults> suite_;
  std::unique_ptr<Defaults> global_;
  std::unique_ptr<ListArchiver> archiver_;
  std::unique_ptr<UrlParser> urls_;
  std::unique_ptr<Workspace> workspace_;
  std::unique_ptr<LaunchServices> launchServices_;
  std::unique_ptr<ProcessLauncher> processes_;
  std::unique_ptr<Updater> updater_;
  std::unique_ptr<ScriptRunner> scripts_;
  std::unique_ptr<Events> events_;
  std::unique_ptr<RunLoop> runLoop_;
  std::unique_ptr<Presenter> presenter_;
  std::unique_ptr<SystemInfo> system_;
  std::unique_ptr<AppleEvents> appleEvents_;
  std::unique_ptr<Application> application_;
  std::unique_ptr<Accessibility> accessibility_;
  std::unique_ptr<Shortcuts> shortcuts_;
  std::unique_ptr<LinkDetector> linkDetector_;
  std::unique_ptr<Pasteboard> pasteboard_;
  std::unique_ptr<FileManager> files_;
  std::unique_ptr<Calendar> calendar_;
  NotificationCenter workspaceNotifications_;
  SettingsStore settings_;
  BrowserRegistry registry_;
  RuleStore rules_;
  ScriptContext scripting_;
  AppDelegate delegate_;
  __strong id deactivationObserver_ = nil;
};

}  // namespace routelle::macos
