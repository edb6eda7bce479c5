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
// the application delegate. The presenter sends the actions of pop-up entries
// shown in a dialog here, and they go on to the delegate.
struct HostApp final : ActionTarget {
  explicit HostApp(const std::filesystem::path& root,
                   const std::filesystem::path& openCommand = HostSystem::defaultOpenCommand())
      : system(root, openCommand, &transcript),
        presenter(transcript, runLoop, *this),
        scripts(system.world, system.workspace, transcript),
        application(system.world, system.workspace, transcript),
        accessibility(system.world, transcript),
        files(system.world, &transcript),
        delegate(services(system.settings, system.processes)) {
    // The script commands are built with the world, before the program.
    delegate.serveScriptCommands(system.scripting);
  }
  HostApp(const HostApp&) = delete;
  HostApp& operator=(const HostApp&) = delete;

  bool perform(const std::string& selector, const MenuItem& sender) override {
    return delegate.perform(selector, sender);
  }

  // The world's services; benchmarks put settings in memory or count launches instead.
  AppServices services(SettingsStore& settings, ProcessLauncher& processes) {
    return AppServices{.settings = settings,
                       .registry = system.registry,
                       .rules = system.rules,
                       .workspace = system.workspace,
                       .launchServices = system.launchServices,
                       .processes = processes,
                       .scripts = scripts,
                       .events = events,
                       .runLoop = runLoop,
                       .presenter = presenter,
                       .system = systemInfo,
                       .urls = system.urls,
                       .workspaceNotifications = system.workspaceNotifications,
                       .updater = system.updater,
                       .appleEvents = appleEvents,
                       .application = application,
                       .accessibility = accessibility,
                       .shortcuts = shortcuts,
                       .linkDetector = linkDetector,
                       .pasteboard = generalPasteboard,
                       .files = files,
                       .calendar = system.calendar};
  }

  // The platform's start-up calls, in its order.
  void start() {
    delegate.awakeFromNib();
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
  }

  Transcript transcript;  // first: the system below shows on it
  HostSystem system;
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
