#pragma once
#include "platform/FileManager.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

// Folders and files of the host world; names beginning with a dot are the
// hidden files. The user is "user": the home folder is /Users/user, and the
// system knows a Downloads folder only while /Users/user/Downloads exists. The
// file browser notes each file it is asked to show in /Library/Logs/finder.log.
class HostFileManager final : public FileManager {
 public:
  // Every file shown in the file browser is noted on the transcript, when there is one.
  explicit HostFileManager(const World& world, Transcript* transcript = nullptr)
      : world_(world), transcript_(transcript) {}

  static constexpr const char* kHome = "/Users/user";
  static constexpr const char* kDownloads = "/Users/user/Downloads";
  static constexpr const char* kFileBrowserLog = "/Library/Logs/finder.log";

  std::optional<std::string> localApplicationsFolder() override { return "/Applications"; }
  std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) override;
  std::string homeDirectory() override { return kHome; }
  std::optional<std::string> downloadsDirectory() override;
  ApplicationDataFolders applicationDataFolders() override { return dataFolders; }
  bool directoryExists(const std::string& path) override;
  FileContents readFile(const std::string& path, std::size_t maxBytes) override;
  bool writeFile(const std::string& path, std::string_view bytes) override;
  void revealInFileBrowser(const std::string& path) override;

  // The Mac's, unless a test lays the world out as another desktop does.
  ApplicationDataFolders dataFolders{ApplicationDataFolders::Layout::macOS,
                                     std::string(kHome) + "/Library/Application Support"};

 private:
  const World& world_;
  Transcript* const transcript_;
};

}  // namespace routelle
