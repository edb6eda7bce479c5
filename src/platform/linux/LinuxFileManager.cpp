#include "platform/linux/LinuxFileManager.h"

#include <gio/gio.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/DesktopEntries.h"
#include "platform/posix/RegularFiles.h"

namespace routelle {

std::optional<std::vector<std::string>> LinuxFileManager::contentsOfDirectory(const std::string& path) {
  std::vector<std::string> out;
  if (path == kApplicationsFolder) {
    for (const auto& entry : linux_desktop::DesktopEntries::all())
      if (entry.id != linux_desktop::kOwnEntryId) out.push_back(entry.path);
    return out;
  }
  std::error_code ec;
  std::filesystem::directory_iterator it(path, ec);
  if (ec) return std::nullopt;
  for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    if (!it->path().filename().string().starts_with('.')) out.push_back(it->path().string());
  }
  return out;
}

std::string LinuxFileManager::homeDirectory() {
  const char* home = std::getenv("HOME");
  return home ? home : "/";
}

std::optional<std::string> LinuxFileManager::downloadsDirectory() {
  const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  std::string path = folder ? folder : homeDirectory() + "/Downloads";
  // Many a desktop has no Downloads folder; the home folder stands in, as it
  // does for the desktop's other unset folders.
  if (!directoryExists(path)) path = homeDirectory();
  if (!directoryExists(path)) return std::nullopt;
  return path;
}

ApplicationDataFolders LinuxFileManager::applicationDataFolders() {
  // A relative value is to be ignored, as if it were not set.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base = config && config[0] == '/' ? config : homeDirectory() + "/.config";
  return {ApplicationDataFolders::Layout::freedesktop, std::move(base)};
}

bool LinuxFileManager::directoryExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

FileContents LinuxFileManager::readFile(const std::string& path, std::size_t maxBytes) {
  return posix::readRegularFile(path, maxBytes);
}

bool LinuxFileManager::writeFile(const std::string& path, std::string_view bytes) {
  return posix::replaceRegularFile(path, bytes);
}

void LinuxFileManager::revealInFileBrowser(const std::string& path) {
  // The folder opens in the desktop's file manager (none shows one file selected).
  gchar* uri = g_filename_to_uri(std::filesystem::path(path).parent_path().c_str(), nullptr, nullptr);
  if (uri) g_app_info_launch_default_for_uri(uri, nullptr, nullptr);
  g_free(uri);
}

}  // namespace routelle
