#pragma once
#include <filesystem>

#include "HostSystem.h"
#include "app/AppDelegate.h"
#include "platform/host/HostAccessibility.h"
#include "platform/host/HostAppleEvents.h"
#include "platform/host/HostApplication.h"
#include "platform/host/HostEvents.h"
#include "platform/host/HostPasteboard.h"
#include "platform/host/HostPresenter.h"
#include "platform/host/HostRunLoop.h"
#include "platform/host/HostScriptRunner.h"
#include "platform/host/HostShortcuts.h"
#include "platform/host/HostSystemInfo.h"
#include "platform/host/Transcript.h"

namespace routelle {

// The whole program in the host world: the core, the world's services, and
// the application delegate.
struct HostApp {
  explicit HostApp(const std::filesystem::path& root,
                   const std::filesystem::path& openCommand = HostSystem::defaultOpenCommand())
      : system(root, openCommand),
        presenter(transcript),
        scripts(system.world, system.workspace, transcript),
        application(system.world, system.workspace, transcript),
        accessibility(system.world, transcript),
        delegate(AppServices{system.settings,
                             system.registry,
                             system.rules,
                             system.workspace,
                             system.launchServices,
                             system.processes,
                             scripts,
                             events,
                             runLoop,
                             presenter,
                             systemInfo,
                             system.urls,
                             system.workspaceNotifications,
                             system.updater,
                             appleEvents,
                             application,
                             accessibility,
                             shortcuts,
                             system.files,
                             system.calendar}) {
    system.processes.transcript = &transcript;
    system.files.transcript = &transcript;
  }

  // The platform's start-up calls, in its order.
  void start() {
    delegate.awakeFromNib();
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
  }

  HostSystem system;
  Transcript transcript;
  HostEvents events;
  HostAppleEvents appleEvents;
  HostPasteboard pasteboard;
  HostSystemInfo systemInfo;
  HostPresenter presenter;
  HostScriptRunner scripts;
  HostRunLoop runLoop;
  HostApplication application;
  HostAccessibility accessibility;
  HostShortcuts shortcuts;
  AppDelegate delegate;
};

}  // namespace routelle
