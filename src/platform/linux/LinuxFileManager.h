#pragma once
#include "platform/FileManager.h"

namespace routelle {

// Files are the system's own. The Applications folder is the desktop's set of
// entries: listing it gives every application's path (see DesktopEntries.h),
// whichever of the XDG data folders holds the entry.
class LinuxFileManager final : public FileManager {
 public:
  static constexpr const char* kApplicationsFolder = "/usr/share/applications";

  std::optional<std::string> localApplicationsFolder() override { return kApplicationsFolder; }
  std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) override;
  std::string homeDirectory() override;
  // xdg-user-dir DOWNLOAD, else ~/Downloads when it exists.
  std::optional<std::string> downloadsDirectory() override;
  // $XDG_CONFIG_HOME, else ~/.config.
  ApplicationDataFolders applicationDataFolders() override;
  bool directoryExists(const std::string& path) override;
  FileContents readFile(const std::string& path, std::size_t maxBytes) override;
  bool writeFile(const std::string& path, std::string_view bytes) override;
  void revealInFileBrowser(const std::string& path) override;
};

}  // namespace routelle
