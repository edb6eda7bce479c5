#pragma once
#include "platform/FileManager.h"
#include "platform/host/World.h"

namespace routelle {

// Folders of the host world; names beginning with a dot are the hidden files.
class HostFileManager final : public FileManager {
 public:
  explicit HostFileManager(const World& world) : world_(world) {}

  std::optional<std::string> localApplicationsFolder() override { return "/Applications"; }
  std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) override;

 private:
  const World& world_;
};

}  // namespace routelle
