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

std::vector<fs::path> HostWorkspace::watchedFolders() const {
  std::vector<fs::path> folders{world_.root() / "Applications", world_.root() / "Users"};
  for (const auto& entry : sortedEntries(world_.root() / "Applications"))
    if (isPlainFolder(entry)) folders.push_back(entry);
  for (const auto& user : sortedEntries(world_.root() / "Users")) folders.push_back(user / "Applications");
  return folders;
}

std::map<std::string, std::int64_t> HostWorkspace::folderStamps() const {
  std::map<std::string, std::int64_t> stamps;
  for (const auto& folder : watchedFolders()) stamps[folder.string()] = modificationStamp(folder);
  return stamps;
}

// File times are only as fine as the kernel's coarse clock: a folder changed
// within that much of the index being built may change again unseen, so such an
// index is not trusted.
bool HostWorkspace::indexIsCurrent(const std::map<std::string, std::int64_t>& stamps) const {
  if (!indexed_ || stamps != stamps_) return false;
  constexpr std::int64_t kTimestampGranularityNs = 50'000'000;
  for (const auto& [folder, stamp] : stamps)
    if (stamp >= indexedAtNs_ - kTimestampGranularityNs) return false;
  return true;
}

const std::vector<InstalledBundle>& HostWorkspace::applicationBundles() {
  auto stamps = folderStamps();
  if (indexIsCurrent(stamps)) return bundles_;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  indexedAtNs_ = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  std::vector<fs::path> found;
  auto collect = [&](const fs::path& dir) {
    for (const auto& entry : sortedEntries(dir))
      if (isBundle(entry)) found.push_back(entry);
  };
  const fs::path applications = world_.root() / "Applications";
  collect(applications);
  for (const auto& entry : sortedEntries(applications))
    if (isPlainFolder(entry)) collect(entry);
  for (const auto& user : sortedEntries(world_.root() / "Users")) collect(user / "Applications");

  bundles_.clear();
  for (const auto& bundle : found) {
    auto info = readBundleInfo(bundle);
    bundles_.push_back({bundle, info ? *info : BundleInfo{}});
  }
  stamps_ = std::move(stamps);
  indexed_ = true;
  return bundles_;
}

std::optional<std::string> HostWorkspace::pathForBundleIdentifier(const std::string& identifier) {
  if (identifier.empty()) return std::nullopt;
  for (const auto& bundle : applicationBundles())
    if (!bundle.info.identifier.empty() && text::equalsIgnoringCase(bundle.info.identifier, identifier))
      return world_.platformPath(bundle.hostPath);
  return std::nullopt;
}

std::optional<std::string> HostWorkspace::fullPathForApplication(const std::string& name) {
  std::string wanted = name;
  if (wanted.size() > 4 && text::equalsIgnoringCase(wanted.substr(wanted.size() - 4), ".app"))
    wanted.resize(wanted.size() - 4);
  if (wanted.empty() || wanted.find('/') != std::string::npos) return std::nullopt;
  for (const auto& bundle : applicationBundles())
    if (text::equalsIgnoringCase(bundle.hostPath.stem().string(), wanted)) return world_.platformPath(bundle.hostPath);
  return std::nullopt;
}

std::optional<std::string> HostWorkspace::bundleIdentifier(const std::string& path) {
  auto info = readBundleInfo(world_.hostPath(path));
  if (!info || info->identifier.empty()) return std::nullopt;
  return info->identifier;
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
        out.push_back(world_.platformPath(bundle.hostPath));
        break;
      }
  return out;
}

std::vector<std::string> HostWorkspace::applicationsDeclaringExtension(const std::string& extension) {
  std::vector<std::string> out;
  for (const auto& bundle : applicationBundles())
    for (const auto& declared : bundle.info.documentExtensions)
      if (declared == "*" || text::equalsIgnoringCase(declared, extension)) {
        out.push_back(world_.platformPath(bundle.hostPath));
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
