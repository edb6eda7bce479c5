#pragma once
#include <optional>
#include <string>
#include <vector>

namespace routelle {

// Folders of the file system. Paths are the platform's own ("/Applications").
class FileManager {
 public:
  virtual ~FileManager() = default;
  // The local domain's Applications folder; nothing when the system names none.
  virtual std::optional<std::string> localApplicationsFolder() = 0;
  // The paths of a folder's entries, hidden files skipped, in no particular
  // order; nothing when the folder cannot be listed.
  virtual std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) = 0;
};

}  // namespace routelle
