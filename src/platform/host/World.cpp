#include "platform/host/World.h"

#include <atomic>

namespace routelle {

namespace {
std::atomic<std::uint64_t> applicationChangeCount{0};
}  // namespace

std::uint64_t World::applicationChanges() { return applicationChangeCount.load(std::memory_order_acquire); }

void World::noteApplicationsChanged() { applicationChangeCount.fetch_add(1, std::memory_order_acq_rel); }

World::World(const std::filesystem::path& root) : root_(std::filesystem::absolute(root).lexically_normal()) {}

std::filesystem::path World::hostPath(std::string_view platformPath) const {
  std::filesystem::path p(platformPath);
  // Never let ".." climb out of the world.
  std::filesystem::path inside = p.relative_path().lexically_normal();
  if (!inside.empty() && *inside.begin() == "..") inside.clear();
  return root_ / inside;
}

std::string World::platformPath(const std::filesystem::path& hostPath) const {
  auto rel = std::filesystem::absolute(hostPath).lexically_normal().lexically_relative(root_);
  if (rel.empty() || *rel.begin() == "..") return hostPath.string();
  std::string out = "/";
  out += rel.generic_string();
  return out;
}

std::filesystem::path World::preferencesFile(std::string_view domain) const {
  return root_ / "Library" / "Preferences" / (std::string(domain) + ".plist");
}

std::filesystem::path World::launchServicesFile() const { return preferencesFile("com.apple.LaunchServices"); }

std::filesystem::path World::updaterFile() const {
  return root_ / "Library" / "Application Support" / "Updater" / "com.kestrova.Routelle.plist";
}

}  // namespace routelle
