#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace routelle {

// What a file read came to.
struct FileContents {
  enum class Status { read, missing, notAFile, tooLarge, unreadable } status = Status::unreadable;
  std::string bytes;  // the whole file when read
  std::string error;  // why it was not read, one line; empty when read
};

// The user's folders and the files the program reads and writes itself.
// Paths are the platform's own ("/Users/ann/Downloads").
class Files {
 public:
  virtual ~Files() = default;
  // NSHomeDirectory.
  virtual std::string homeDirectory() = 0;
  // The user's Downloads folder as the system's search path names it; nothing
  // when the system knows none.
  virtual std::optional<std::string> downloadsDirectory() = 0;
  virtual bool directoryExists(const std::string& path) = 0;
  // The whole of a regular file of at most maxBytes. A directory, a FIFO or a
  // device is refused without waiting on it.
  virtual FileContents readFile(const std::string& path, std::size_t maxBytes) = 0;
  // Creates or replaces the file in place (not atomically); false when it could
  // not be written whole.
  virtual bool writeFile(const std::string& path, std::string_view bytes) = 0;
  // activateFileViewerSelectingURLs: the file browser shows the file selected.
  virtual void revealInFileBrowser(const std::string& path) = 0;
};

}  // namespace routelle
