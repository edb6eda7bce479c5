#pragma once
#include "platform/LaunchServices.h"
#include "platform/host/HostDefaults.h"
#include "platform/host/HostWorkspace.h"
#include "platform/host/World.h"

namespace routelle {

// Default scheme handlers of the host world, kept as scheme -> bundle identifier
// in a property list of the world.
class HostLaunchServices final : public LaunchServices {
 public:
  HostLaunchServices(const World& world, HostWorkspace& workspace);
  std::optional<std::string> defaultHandler(const std::string& scheme) override;
  bool setDefaultHandler(const std::string& scheme, const std::string& bundleIdentifier) override;
  // Applications declaring the scheme; for a "file:" URL, those declaring its extension.
  std::vector<std::string> applicationsForURL(const std::string& url) override;

  // The system asks the user before another application becomes the default web
  // browser; the world keeps the answer the user will give (true: accept).
  void setBrowserChangesAccepted(bool accepted);

  static constexpr const char* kBrowserChangesKey = "AcceptBrowserChanges";

 private:
  HostDefaults handlers_;
  HostWorkspace& workspace_;
};

}  // namespace routelle
