#pragma once
#include <filesystem>
#include <memory>

#include "HostSystem.h"
#include "platform/host/HostExtensionContext.h"
#include "platform/host/HostLaunchServices.h"
#include "platform/host/HostProcessLauncher.h"
#include "platform/host/HostRunLoop.h"
#include "platform/host/HostUrlParser.h"
#include "platform/host/HostWorkspace.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"
#include "share/ShareController.h"

namespace routelle {

// The Share extension's process in the host world: only what it acts through
// (it reads no settings).
struct HostExtension {
  explicit HostExtension(const std::filesystem::path& root,
                         const std::filesystem::path& openCommand = HostSystem::defaultOpenCommand())
      : world(root),
        workspace(std::make_shared<HostWorkspace>(world)),
        launchServices(world, *workspace),
        processes(world, openCommand, &transcript),
        context(std::make_shared<HostExtensionContext>(transcript, *runLoop, *urls)) {
    workspace->connect(launchServices, processes);
  }

  ShareServices services() const {
    return {.context = context, .workspace = workspace, .runLoop = runLoop, .urls = urls};
  }

  World world;
  Transcript transcript;
  std::shared_ptr<HostRunLoop> runLoop = std::make_shared<HostRunLoop>();
  std::shared_ptr<HostUrlParser> urls = std::make_shared<HostUrlParser>();
  std::shared_ptr<HostWorkspace> workspace;
  HostLaunchServices launchServices;
  HostProcessLauncher processes;
  std::shared_ptr<HostExtensionContext> context;
};

}  // namespace routelle
