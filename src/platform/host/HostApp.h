#pragma once
#include <filesystem>

#include "app/AppDelegate.h"
#include "platform/host/HostApplication.h"
#include "platform/host/HostInteraction.h"
#include "platform/host/HostScriptRunner.h"
#include "platform/host/HostSystem.h"
#include "platform/host/ManualRunLoop.h"
#include "platform/host/Transcript.h"

namespace routelle {

// The whole program in the host world: the core, the world's services, and
// the application delegate.
struct HostApp {
  explicit HostApp(const std::filesystem::path& root,
                   const std::filesystem::path& openCommand = HostSystem::defaultOpenCommand())
      : system(root, openCommand),
        presenter(transcript),
        scripts(transcript),
        application(system, transcript),
        accessibility(system.world, transcript),
        delegate(AppServices{system.settings, system.registry, system.rules, system.workspace, system.launchServices,
                             system.processes, scripts, events, runLoop, presenter, systemInfo, system.urls,
                             system.workspaceNotifications, system.updater, appleEvents, application, accessibility,
                             shortcuts}) {
    system.processes.transcript = &transcript;
  }

  HostSystem system;
  Transcript transcript;
  HostEvents events;
  HostAppleEvents appleEvents;
  HostPasteboard pasteboard;
  HostSystemInfo systemInfo;
  HostPresenter presenter;
  HostScriptRunner scripts;
  ManualRunLoop runLoop;
  HostApplication application;
  HostAccessibility accessibility;
  HostShortcuts shortcuts;
  AppDelegate delegate;
};

}  // namespace routelle
