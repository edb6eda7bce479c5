#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace routelle {

// What a file read came to.
struct FileContents {
  enum class Status { read, missing, notAFile, tooLarge, unreadable } status = Status::unreadable;
  std::string bytes;  // the whole file when read
  std::string error;  // why it was not read, one line; empty when read
};

// Where the platform's applications keep their own data, which is where browsers
// keep their profiles. What each browser keeps there is the core's to know.
struct ApplicationDataFolders {
  // Whose conventions the applications follow.
  enum class Layout { macOS, freedesktop } layout = Layout::macOS;
  // macOS: ~/Library/Application Support; freedesktop: $XDG_CONFIG_HOME (~/.config).
  std::string base;
};

// Folders and files of the file system. Paths are the platform's own ("/Applications").
class FileManager {
 public:
  virtual ~FileManager() = default;
  // The local domain's Applications folder; nothing when the system names none.
  virtual std::optional<std::string> localApplicationsFolder() = 0;
  // The paths of a folder's entries, hidden files skipped, in no particular
  // order; nothing when the folder cannot be listed.
  virtual std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) = 0;

  // NSHomeDirectory.
  virtual std::string homeDirectory() = 0;
  // The user's Downloads folder as the system's search path names it; nothing
  // when the system knows none.
  virtual std::optional<std::string> downloadsDirectory() = 0;
  virtual ApplicationDataFolders applicationDataFolders() = 0;
  virtual bool directoryExists(const std::string& path) = 0;
  // The whole of a regular file of at most maxBytes. A directory, a FIFO or a
  // device is refused without waiting on it.
  virtual FileContents readFile(const std::string& path, std::size_t maxBytes) = 0;
  // Creates or replaces the file whole (atomically); false when it could not be
  // written, or when something other than a regular file is in its place.
  virtual bool writeFile(const std::string& path, std::string_view bytes) = 0;
  // activateFileViewerSelectingURLs: the file browser shows the file selected.
  virtual void revealInFileBrowser(const std::string& path) = 0;
};

}  // namespace routelle
