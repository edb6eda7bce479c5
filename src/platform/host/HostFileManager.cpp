#include "platform/host/HostFileManager.h"

#include <filesystem>

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

}  // namespace routelle
