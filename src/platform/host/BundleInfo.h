#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Defaults.h"

namespace routelle {

// What the host world reads from an application bundle's Contents/Info.plist.
struct BundleInfo {
  std::string identifier;  // empty when the bundle declares none
  std::string executable;
  std::string version;
  std::vector<std::string> urlSchemes;
  std::vector<std::string> documentExtensions;
};

// Parses Info.plist bytes (XML or binary); nothing when they are no dictionary.
std::optional<BundleInfo> parseBundleInfo(const Bytes& infoPlist);
std::optional<BundleInfo> readBundleInfo(const std::filesystem::path& bundle);

}  // namespace routelle
