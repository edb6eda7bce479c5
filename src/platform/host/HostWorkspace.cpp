#include "platform/host/HostWorkspace.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>

#include "support/Text.h"

namespace fs = std::filesystem;

namespace routelle {
namespace {

bool isBundle(const fs::path& p) {
  std::error_code ec;
  return p.extension() == ".app" && fs::is_directory(p, ec);
}

std::vector<fs::path> sortedEntries(const fs::path& dir) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) out.push_back(it->path());
  std::sort(out.begin(), out.end());
  return out;
}

bool isPlainFolder(const fs::path& p) {
  std::error_code ec;
  return !isBundle(p) && fs::is_directory(p, ec);
}

std::int64_t modificationStamp(const fs::path& p) {
  struct stat st {};
  if (stat(p.c_str(), &st) != 0) return -1;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

std::string schemeOf(const std::string& url) {
  auto colon = url.find(':');
  return colon == std::string::npos ? std::string() : text::lowercased(url.substr(0, colon));
}

}  // namespace

void HostWorkspace::connect(LaunchServices& launchServices, ProcessLauncher& launcher) {
  launchServices_ = &launchServices;
  launcher_ = &launcher;
}

// File times are only as fine as the kernel's coarse clock: a folder changed
// within that much of the index being built may change again unseen, so such an
// index is not trusted. A folder whose entries changed has a new time, so the
// folders recorded at indexing are all there is to watch.
bool HostWorkspace::indexIsCurrent() const {
  if (!indexed_) return false;
  constexpr std::int64_t kTimestampGranularityNs = 50'000'000;
  for (const auto& [folder, stamp] : stamps_)
    if (stamp >= indexedAtNs_ - kTimestampGranularityNs || modificationStamp(folder) != stamp) return false;
  return true;
}

void HostWorkspace::rebuildIndex() {
  indexedChanges_ = World::applicationChanges();
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  indexedAtNs_ = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  stamps_.clear();
  std::vector<fs::path> found;
  auto collect = [&](const fs::path& dir) {
    stamps_[dir] = modificationStamp(dir);
    for (const auto& entry : sortedEntries(dir))
      if (isBundle(entry)) found.push_back(entry);
  };
  const fs::path applications = world_.root() / "Applications";
  const fs::path users = world_.root() / "Users";
  collect(applications);
  for (const auto& entry : sortedEntries(applications))
    if (isPlainFolder(entry)) collect(entry);
  stamps_[users] = modificationStamp(users);
  for (const auto& user : sortedEntries(users)) collect(user / "Applications");

  bundles_.clear();
  byIdentifier_.clear();
  byName_.clear();
  byPlatformPath_.clear();
  for (const auto& bundle : found) {
    auto info = readBundleInfo(bundle);
    const std::size_t index = bundles_.size();
    bundles_.push_back({bundle, world_.platformPath(bundle), info ? *info : BundleInfo{}});
    if (!bundles_.back().info.identifier.empty())
      byIdentifier_.try_emplace(text::lowercased(bundles_.back().info.identifier), index);
    byName_.try_emplace(text::lowercased(bundle.stem().string()), index);
    byPlatformPath_.try_emplace(bundles_.back().platformPath, index);
  }
  indexed_ = true;
  ++rebuilds_;
}

std::optional<std::uint64_t> HostWorkspace::applicationsGeneration() {
  std::lock_guard lock(mutex_);
  refreshIndex();
  return rebuilds_;
}

void HostWorkspace::refreshIndex() {
  if (!indexed_ || indexedChanges_ != World::applicationChanges()) rebuildIndex();
}

bool HostWorkspace::reindexedAfterMiss() {
  if (indexIsCurrent()) return false;
  rebuildIndex();
  return true;
}

std::vector<InstalledBundle> HostWorkspace::applicationBundles() {
  std::lock_guard lock(mutex_);
  refreshIndex();
  return bundles_;
}

std::vector<RunningApplication> HostWorkspace::runningApplications() {
  std::lock_guard lock(mutex_);
  return running_;
}

std::optional<RunningApplication> HostWorkspace::frontmostApplication() {
  std::lock_guard lock(mutex_);
  return frontmost_;
}

void HostWorkspace::setRunningApplications(std::vector<RunningApplication> apps) {
  std::lock_guard lock(mutex_);
  running_ = std::move(apps);
}

void HostWorkspace::setFrontmostApplication(std::optional<RunningApplication> app) {
  std::lock_guard lock(mutex_);
  frontmost_ = std::move(app);
}

std::optional<std::string> HostWorkspace::pathForBundleIdentifier(const std::string& identifier) {
  if (identifier.empty()) return std::nullopt;
  std::lock_guard lock(mutex_);
  refreshIndex();
  const std::string wanted = text::lowercased(identifier);
  auto hit = byIdentifier_.find(wanted);
  if (hit == byIdentifier_.end() && reindexedAfterMiss()) hit = byIdentifier_.find(wanted);
  if (hit == byIdentifier_.end()) return std::nullopt;
  return bundles_[hit->second].platformPath;
}

std::optional<std::string> HostWorkspace::fullPathForApplication(const std::string& name) {
  std::string wanted = name;
  if (wanted.size() > 4 && text::equalsIgnoringCase(wanted.substr(wanted.size() - 4), ".app"))
    wanted.resize(wanted.size() - 4);
  if (wanted.empty() || wanted.find('/') != std::string::npos) return std::nullopt;
  std::lock_guard lock(mutex_);
  refreshIndex();
  const std::string key = text::lowercased(wanted);
  auto hit = byName_.find(key);
  if (hit == byName_.end() && reindexedAfterMiss()) hit = byName_.find(key);
  if (hit == byName_.end()) return std::nullopt;
  return bundles_[hit->second].platformPath;
}

std::optional<std::string> HostWorkspace::bundleIdentifier(const std::string& path) {
  {
    // An indexed bundle's identity was read when it was indexed.
    std::lock_guard lock(mutex_);
    refreshIndex();
    if (auto hit = byPlatformPath_.find(path); hit != byPlatformPath_.end()) {
      const std::string& identifier = bundles_[hit->second].info.identifier;
      if (identifier.empty()) return std::nullopt;
      return identifier;
    }
  }
  auto info = readBundleInfo(world_.hostPath(path));
  if (!info || info->identifier.empty()) return std::nullopt;
  return info->identifier;
}

bool HostWorkspace::activateIgnoringOtherApps(const RunningApplication& app) {
  if (transcript_) transcript_->add("activated " + app.localizedName);
  frontmost_ = app;
  return true;
}

RunningApplication HostWorkspace::runningApplicationNamed(const std::string& name) {
  RunningApplication app{name, std::nullopt, ""};
  if (auto path = fullPathForApplication(name)) {
    app.bundlePath = *path;
    app.bundleIdentifier = bundleIdentifier(*path).value_or("");
  }
  return app;
}

std::vector<std::string> HostWorkspace::applicationsDeclaringScheme(const std::string& scheme) {
  std::vector<std::string> out;
  for (const auto& bundle : applicationBundles())
    for (const auto& declared : bundle.info.urlSchemes)
      if (text::equalsIgnoringCase(declared, scheme)) {
        out.push_back(bundle.platformPath);
        break;
      }
  return out;
}

std::vector<std::string> HostWorkspace::applicationsDeclaringExtension(const std::string& extension) {
  std::vector<std::string> out;
  for (const auto& bundle : applicationBundles())
    for (const auto& declared : bundle.info.documentExtensions)
      if (declared == "*" || text::equalsIgnoringCase(declared, extension)) {
        out.push_back(bundle.platformPath);
        break;
      }
  return out;
}

bool HostWorkspace::openURL(const std::string& url) {
  const std::string scheme = schemeOf(url);
  if (scheme.empty() || !launchServices_ || !launcher_) return false;
  std::optional<std::string> app;
  if (auto handler = launchServices_->defaultHandler(scheme)) app = pathForBundleIdentifier(*handler);
  if (!app) {
    auto declaring = applicationsDeclaringScheme(scheme);
    if (!declaring.empty()) app = declaring.front();
  }
  if (!app) return false;
  auto info = readBundleInfo(world_.hostPath(*app));
  if (!info || info->executable.empty()) return false;
  return launcher_->start(*app + "/Contents/MacOS/" + info->executable, {url});
}

bool HostWorkspace::fileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(world_.hostPath(path), ec);
}

}  // namespace routelle
