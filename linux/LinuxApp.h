#pragma once
#include <string>

#include "LinuxSystem.h"
#include "app/AppDelegate.h"
#include "platform/host/HostLinkDetector.h"
#include "platform/linux/LinuxAccessibility.h"
#include "platform/linux/LinuxAppleEvents.h"
#include "platform/linux/LinuxApplication.h"
#include "platform/linux/LinuxCalendar.h"
#include "platform/linux/LinuxEvents.h"
#include "platform/linux/LinuxFileManager.h"
#include "platform/linux/LinuxPasteboard.h"
#include "platform/linux/LinuxPresenter.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/LinuxRunLoop.h"
#include "platform/linux/LinuxScriptRunner.h"
#include "platform/linux/LinuxShortcuts.h"
#include "platform/linux/LinuxSystemInfo.h"

namespace routelle::desktop {

// The application that asked for a link, in the terms of the Mac's deactivation
// notification, from the process that started the program with it (whose parent
// chain leads to the application); empty when none is known.
UserInfo sourceOf(int requester);

// The whole program on the desktop: the core over the Linux adapters, and the
// application delegate. Made after the QApplication.
struct LinuxApp {
  explicit LinuxApp(const std::string& resourcesFolder);

  // The platform's start-up calls, in its order.
  void start();
  // What a script command run from a terminal needs of the program: it hears
  // the work the commands post to it (export, import) but is not started (no
  // tray, no first-use settings, no taking over the default browser).
  void listenToScriptCommands();
  // Runs what the program queued to do next, before the process ends.
  static void finishPostedWork();
  // A link that reached the program, with the application it came from.
  void openLink(const std::string& link, const UserInfo& source);

  LinuxSystem system;
  LinuxProcessLauncher processes;
  LinuxScriptRunner scripts;
  LinuxEvents events;
  LinuxRunLoop runLoop;
  LinuxPresenter presenter;
  LinuxSystemInfo systemInfo;
  LinuxAppleEvents appleEvents;
  LinuxApplication application;
  LinuxAccessibility accessibility;
  LinuxShortcuts shortcuts;
  HostLinkDetector linkDetector;
  LinuxPasteboard pasteboard;
  LinuxFileManager files;
  LinuxCalendar calendar;
  AppDelegate delegate;
};

}  // namespace routelle::desktop
