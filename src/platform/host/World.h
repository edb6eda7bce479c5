#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace routelle {

// The stand-in macOS world: everything lives under one root directory, and the
// paths the program handles ("/Applications/Safari.app") are mapped into it.
class World {
 public:
  explicit World(const std::filesystem::path& root);

  const std::filesystem::path& root() const { return root_; }
  // A platform path ("/Applications/X.app") inside the world.
  std::filesystem::path hostPath(std::string_view platformPath) const;
  // The platform path of a file inside the world.
  std::string platformPath(const std::filesystem::path& hostPath) const;

  std::filesystem::path preferencesFile(std::string_view domain) const;

  // Changes of applications made through the installer (or announced by
  // whoever changed a bundle by hand), in this process: while the count stands,
  // the workspace answers from its index without looking at the folders.
  static std::uint64_t applicationChanges();
  static void noteApplicationsChanged();
  std::filesystem::path launchServicesFile() const;
  std::filesystem::path updaterFile() const;

 private:
  std::filesystem::path root_;
};

}  // namespace routelle
