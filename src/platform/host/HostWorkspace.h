#pragma once
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/LaunchServices.h"
#include "platform/ProcessLauncher.h"
#include "platform/Workspace.h"
#include "platform/host/BundleInfo.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

struct InstalledBundle {
  std::filesystem::path hostPath;
  std::string platformPath;
  BundleInfo info;
};

// Applications of the host world: bundles "<Name>.app" in /Applications, its
// immediate subfolders, and /Users/*/Applications, found in that order. Like the
// platform's application database, the index is rebuilt when one of those
// folders changes; running applications are world state the driver sets.
// A lookup that finds its application answers from the index without a system
// call while no installation was counted (World::applicationChanges); one that
// finds nothing looks at the folders first.
// Thread-safe: the tab watcher asks from its own thread.
class HostWorkspace final : public Workspace {
 public:
  // Activations are shown on the transcript, when there is one.
  explicit HostWorkspace(const World& world, Transcript* transcript = nullptr)
      : world_(world), transcript_(transcript) {}
  // URL opening goes through the default handlers and starts the handler's executable.
  void connect(LaunchServices& launchServices, ProcessLauncher& launcher);

  std::optional<std::string> pathForBundleIdentifier(const std::string& identifier) override;
  std::optional<std::string> fullPathForApplication(const std::string& name) override;
  std::optional<std::string> bundleIdentifier(const std::string& path) override;
  std::vector<RunningApplication> runningApplications() override;
  std::optional<RunningApplication> frontmostApplication() override;
  bool openURL(const std::string& url) override;
  bool fileExists(const std::string& path) override;
  // The application becomes the frontmost one.
  bool activateIgnoringOtherApps(const RunningApplication& app) override;
  // Counts the index's rebuilds: its answers stand while the count does.
  std::optional<std::uint64_t> applicationsGeneration() override;

  void setRunningApplications(std::vector<RunningApplication> apps);
  void setFrontmostApplication(std::optional<RunningApplication> app);
  // A running application as the workspace would report one of that display name.
  RunningApplication runningApplicationNamed(const std::string& name);

  // A copy: the index may be rebuilt by another thread (the tab watcher's) at any time.
  std::vector<InstalledBundle> applicationBundles();
  // Platform paths of the applications declaring a URL scheme / a document extension.
  std::vector<std::string> applicationsDeclaringScheme(const std::string& scheme);
  std::vector<std::string> applicationsDeclaringExtension(const std::string& extension);

 private:
  bool indexIsCurrent() const;
  void rebuildIndex();
  void refreshIndex();  // with mutex_ held
  // After a lookup found nothing: whether the folders changed since indexing (then reindexed).
  bool reindexedAfterMiss();

  const World& world_;
  Transcript* const transcript_;
  std::recursive_mutex mutex_;
  LaunchServices* launchServices_ = nullptr;
  ProcessLauncher* launcher_ = nullptr;
  std::vector<RunningApplication> running_;
  std::optional<RunningApplication> frontmost_;
  std::vector<InstalledBundle> bundles_;
  // Lower-cased identifier / bundle name -> first bundle of that kind.
  std::unordered_map<std::string, std::size_t> byIdentifier_;
  std::unordered_map<std::string, std::size_t> byName_;
  std::unordered_map<std::string, std::size_t> byPlatformPath_;
  std::uint64_t indexedChanges_ = 0;
  std::uint64_t rebuilds_ = 0;
  // The folders the index was read from, with their modification times.
  std::map<std::filesystem::path, std::int64_t> stamps_;
  bool indexed_ = false;
  std::int64_t indexedAtNs_ = 0;
};

}  // namespace routelle
