#pragma once
#include "platform/Workspace.h"

namespace routelle {

// Applications are desktop entries (see DesktopEntries.h for how they are named
// and where their paths point); running applications are the processes whose
// executable is a web browser entry's program.
class LinuxWorkspace final : public Workspace {
 public:
  std::optional<std::string> pathForBundleIdentifier(const std::string& identifier) override;
  std::optional<std::string> fullPathForApplication(const std::string& name) override;
  std::optional<std::string> bundleIdentifier(const std::string& path) override;
  std::vector<RunningApplication> runningApplications() override;
  // The desktop does not say which application has the focus in a way every
  // session shares: none.
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  bool openURL(const std::string& url) override;
  bool fileExists(const std::string& path) override;
  bool activateIgnoringOtherApps(const RunningApplication&) override { return false; }
  std::vector<std::string> systemBrowserIdentifiers() override;
};

}  // namespace routelle
