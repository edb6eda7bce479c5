#pragma once
#include <filesystem>
#include <string>

#include "platform/host/HostDefaults.h"
#include "platform/host/HostListArchiver.h"
#include "platform/host/HostTextServices.h"
#include "platform/host/HostUrlParser.h"
#include "platform/linux/LinuxFileManager.h"
#include "platform/linux/LinuxLaunchServices.h"
#include "platform/linux/LinuxUpdater.h"
#include "platform/linux/LinuxWorkspace.h"
#include "scripting/ScriptCommand.h"
#include "settings/BrowserProfiles.h"
#include "settings/BrowserRegistry.h"
#include "settings/Keys.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/NotificationCenter.h"
#include "support/Text.h"

namespace routelle::desktop {

// $XDG_CONFIG_HOME/routelle (~/.config/routelle): the settings domains, as binary
// property lists with the Mac's keys, one file per domain.
std::filesystem::path settingsFolder();

// The settings, rules and browsers over the desktop: what script commands need,
// without a display.
struct LinuxSystem {
  LinuxSystem();
  ~LinuxSystem() { text::useServices(nullptr); }
  LinuxSystem(const LinuxSystem&) = delete;
  LinuxSystem& operator=(const LinuxSystem&) = delete;

  static const TextServices& installed(const TextServices& services) {
    text::useServices(&services);
    return services;
  }
  static std::filesystem::path domainFile(std::string_view domain) {
    return settingsFolder() / (std::string(domain) + ".plist");
  }

  // First: every member below maps text.
  const TextServices& textServices = installed(HostTextServices::shared());
  HostDefaults standard{domainFile(domains::standard)};
  HostDefaults suite{domainFile(domains::suite)};
  HostDefaults global{domainFile(domains::global), /*readOnly=*/true};
  HostListArchiver archiver;
  HostUrlParser urls;
  LinuxWorkspace workspace;
  LinuxLaunchServices launchServices;
  LinuxUpdater updater;
  NotificationCenter workspaceNotifications;
  SettingsStore settings{standard, &suite, &global, archiver};
  BrowserRegistry registry{settings, workspace};
  RuleStore rules{settings, registry, urls};
  // Where script commands find the profiles that --Profile names.
  LinuxFileManager profileFiles;
  BrowserProfiles profiles{profileFiles};
  ScriptContext scripting{settings, registry, rules, workspaceNotifications, updater, launchServices};
};

}  // namespace routelle::desktop
