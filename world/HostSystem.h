#pragma once
#include <filesystem>
#include <iostream>

#include "platform/host/HostCalendar.h"
#include "platform/host/HostDefaults.h"
#include "platform/host/HostLaunchServices.h"
#include "platform/host/HostListArchiver.h"
#include "platform/host/HostProcessLauncher.h"
#include "platform/host/HostTextServices.h"
#include "platform/host/HostUpdater.h"
#include "platform/host/HostUrlParser.h"
#include "platform/host/HostWorkspace.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"
#include "scripting/ScriptCommand.h"
#include "settings/BrowserRegistry.h"
#include "settings/Keys.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/NotificationCenter.h"
#include "support/Text.h"

namespace routelle {

// The program's core wired to the host world under one root.
struct HostSystem {
  // Starts of processes and activations are shown on `transcript`, when there is one.
  explicit HostSystem(const std::filesystem::path& root,
                      const std::filesystem::path& openCommand = defaultOpenCommand(), Transcript* transcript = nullptr)
      : world(root),
        standard(world.preferencesFile(domains::standard)),
        suite(world.preferencesFile(domains::suite)),
        global(world.preferencesFile(domains::global), /*readOnly=*/true),
        workspace(world, transcript),
        launchServices(world, workspace),
        processes(world, openCommand, transcript),
        updater(world),
        calendar(world),
        settings(standard, &suite, &global, archiver),
        registry(settings, workspace),
        rules(settings, registry, urls),
        scripting{.settings = settings,
                  .registry = registry,
                  .rules = rules,
                  .workspaceNotifications = workspaceNotifications,
                  .updater = updater,
                  .launchServices = launchServices} {
    workspace.connect(launchServices, processes);
    settings.report().setSink([](std::string_view line) { std::cerr << "routelle: " << line << "\n"; });
  }

  // The open stand-in beside the running executable, unless ROUTELLE_OPEN_COMMAND names one.
  static std::filesystem::path defaultOpenCommand();

  static const TextServices& installed(const TextServices& services) {
    text::useServices(&services);
    return services;
  }

  // First: every member built below already maps text through ICU.
  const TextServices& textServices = installed(HostTextServices::shared());
  World world;
  HostDefaults standard;
  HostDefaults suite;
  HostDefaults global;
  HostListArchiver archiver;
  HostUrlParser urls;
  HostWorkspace workspace;
  HostLaunchServices launchServices;
  HostProcessLauncher processes;
  HostUpdater updater;
  HostCalendar calendar;
  NotificationCenter workspaceNotifications;
  SettingsStore settings;
  BrowserRegistry registry;
  RuleStore rules;
  ScriptContext scripting;
};

}  // namespace routelle
