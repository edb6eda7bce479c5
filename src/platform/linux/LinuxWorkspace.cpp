#include "platform/linux/LinuxWorkspace.h"

#include <gio/gio.h>

#include <algorithm>
#include <filesystem>

#include "platform/linux/DesktopEntries.h"
#include "platform/linux/ProcessTree.h"

namespace routelle {
namespace {

using linux_desktop::DesktopEntries;

}  // namespace

std::optional<std::string> LinuxWorkspace::pathForBundleIdentifier(const std::string& identifier) {
  auto entry = DesktopEntries::byId(linux_desktop::entryOfIdentifier(identifier));
  if (!entry) return std::nullopt;
  return entry->path;
}

std::optional<std::string> LinuxWorkspace::fullPathForApplication(const std::string& name) {
  auto entry = DesktopEntries::byName(name);
  if (!entry) return std::nullopt;
  return entry->path;
}

std::optional<std::string> LinuxWorkspace::bundleIdentifier(const std::string& path) {
  auto entry = DesktopEntries::byId(linux_desktop::idOfApplicationPath(path));
  if (!entry) return std::nullopt;
  return linux_desktop::identifierOfEntry(entry->id);
}

std::vector<RunningApplication> LinuxWorkspace::runningApplications() {
  std::vector<linux_desktop::DesktopEntry> browsers;
  for (auto& entry : DesktopEntries::all())
    if (entry.webBrowser && entry.id != linux_desktop::kOwnEntryId) browsers.push_back(std::move(entry));
  std::vector<RunningApplication> out;
  for (const auto& process : linux_desktop::runningProcesses()) {
    for (const auto& browser : browsers) {
      if (!linux_desktop::runs(process, browser.program)) continue;
      const bool listed =
          std::any_of(out.begin(), out.end(), [&](auto& app) { return app.bundleIdentifier == browser.id; });
      if (!listed) out.push_back({browser.id, browser.path, browser.id, process.pid});
    }
  }
  return out;
}

bool LinuxWorkspace::openURL(const std::string& url) {
  return g_app_info_launch_default_for_uri(url.c_str(), nullptr, nullptr);
}

bool LinuxWorkspace::fileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) || std::filesystem::exists(path + ".desktop", error);
}

std::vector<std::string> LinuxWorkspace::systemBrowserIdentifiers() {
  std::vector<std::string> out;
  for (const auto& entry : DesktopEntries::all())
    if (entry.webBrowser) out.push_back(linux_desktop::identifierOfEntry(entry.id));
  // The desktop lists them in no particular order; the menus keep one.
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace routelle
