#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace routelle {

struct RunningApplication {
  std::string localizedName;
  std::optional<std::string> bundlePath;  // platform path of its bundle, when it has one
  std::string bundleIdentifier;
  int processIdentifier = 0;  // 0 when the platform reported none
};

// Applications: lookups, the running ones, and opening URLs.
// Paths are the platform's own ("/Applications/Safari.app").
class Workspace {
 public:
  virtual ~Workspace() = default;
  // absolutePathForAppBundleWithIdentifier: identifiers compare without regard to case.
  virtual std::optional<std::string> pathForBundleIdentifier(const std::string& identifier) = 0;
  // fullPathForApplication: the name with or without ".app", without regard to case.
  virtual std::optional<std::string> fullPathForApplication(const std::string& name) = 0;
  // The CFBundleIdentifier of the bundle at a path; nothing when absent or empty.
  virtual std::optional<std::string> bundleIdentifier(const std::string& path) = 0;
  // In the workspace's own order.
  virtual std::vector<RunningApplication> runningApplications() = 0;
  virtual std::optional<RunningApplication> frontmostApplication() = 0;
  // Opens the URL with the application the system names for its scheme.
  virtual bool openURL(const std::string& url) = 0;
  virtual bool fileExists(const std::string& path) = 0;
  // Brings the running application to the front, ignoring other applications;
  // false when it is no longer running.
  virtual bool activateIgnoringOtherApps(const RunningApplication& app) = 0;
  // Bundle identifiers of the applications the system itself lists as web
  // browsers, for systems whose browsers are not those of the known table.
  virtual std::vector<std::string> systemBrowserIdentifiers() { return {}; }
  // Changes whenever an application found by name may have changed, so that what
  // was learnt about it can be kept until then; nothing when the platform cannot
  // tell, and every lookup asks again.
  virtual std::optional<std::uint64_t> applicationsGeneration() { return std::nullopt; }
};

}  // namespace routelle
