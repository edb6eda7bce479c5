#include "platform/host/HostFileManager.h"

#include <filesystem>
#include <fstream>

#include "platform/posix/RegularFiles.h"

namespace routelle {

std::optional<std::vector<std::string>> HostFileManager::contentsOfDirectory(const std::string& path) {
  std::error_code ec;
  std::filesystem::directory_iterator it(world_.hostPath(path), ec);
  if (ec) return std::nullopt;
  std::string prefix = path;
  if (prefix.empty() || prefix.back() != '/') prefix += '/';
  std::vector<std::string> out;
  for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    std::string name = it->path().filename().string();
    if (!name.starts_with('.')) out.push_back(prefix + name);
  }
  return out;
}

std::optional<std::string> HostFileManager::downloadsDirectory() {
  if (!directoryExists(kDownloads)) return std::nullopt;
  return kDownloads;
}

bool HostFileManager::directoryExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(world_.hostPath(path), ec);
}

FileContents HostFileManager::readFile(const std::string& path, std::size_t maxBytes) {
  return posix::readRegularFile(world_.hostPath(path), maxBytes);
}

bool HostFileManager::writeFile(const std::string& path, std::string_view bytes) {
  return posix::replaceRegularFile(world_.hostPath(path), bytes);
}

void HostFileManager::revealInFileBrowser(const std::string& path) {
  const auto log = world_.hostPath(kFileBrowserLog);
  std::error_code ec;
  std::filesystem::create_directories(log.parent_path(), ec);
  std::ofstream(log, std::ios::app) << path << "\n";
  if (transcript_) transcript_->add("file browser shows " + path);
}

}  // namespace routelle
