#pragma once
#include <filesystem>

#include "HostSystem.h"
#include "app/AppDelegate.h"
#include "platform/host/HostAccessibility.h"
#include "platform/host/HostAppleEvents.h"
#include "platform/host/HostApplication.h"
#include "platform/host/HostEvents.h"
#include "platform/host/HostFileManager.h"
#include "platform/host/HostLinkDetector.h"
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
        presenter(transcript, runLoop),
        scripts(system.world, system.workspace, transcript),
        application(system.world, system.workspace, transcript),
        accessibility(system.world, transcript),
        files(system.world),
        delegate(services(system.settings, system.processes)) {
    system.processes.transcript = &transcript;
    system.workspace.transcript = &transcript;
    files.transcript = &transcript;
    presenter.setActionTarget(delegate);
    system.scripting.profiles = &delegate.browserProfiles();
  }

  // The world's services; benchmarks put settings in memory or count launches instead.
  AppServices services(SettingsStore& settings, ProcessLauncher& processes) {
    return AppServices{settings,
                       system.registry,
                       system.rules,
                       system.workspace,
                       system.launchServices,
                       processes,
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
                       linkDetector,
                       generalPasteboard,
                       files,
                       system.calendar};
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
  HostPasteboard pasteboard;  // the one the Services entry hands over
  HostPasteboard generalPasteboard;
  HostLinkDetector linkDetector;
  HostSystemInfo systemInfo;
  HostRunLoop runLoop;
  HostPresenter presenter;
  HostScriptRunner scripts;
  HostApplication application;
  HostAccessibility accessibility;
  HostShortcuts shortcuts;
  HostFileManager files;
  AppDelegate delegate;
};

}  // namespace routelle
