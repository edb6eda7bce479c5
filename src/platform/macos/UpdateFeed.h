#pragma once
// The update feed as the program's own updater reads it. Objective-C++ only.
#import <Foundation/Foundation.h>

#include <optional>
#include <string>

namespace routelle::macos {

struct FeedUpdate {
  std::string version;         // compared with the bundle's CFBundleVersion
  std::string displayVersion;  // shown to the user; the version when the feed gives none
  std::string url;             // the download, or the item's page
};

// The item of highest version in an appcast (RSS with the usual "sparkle:"
// version elements or enclosure attributes); nothing when no item has a version
// or the data is no feed. Entities and external resources are never loaded.
std::optional<FeedUpdate> newestUpdate(NSData* feed);

// Versions compare by their numbers ("1.10" is newer than "1.9").
bool isNewerVersion(const std::string& candidate, const std::string& current);

}  // namespace routelle::macos
