#import <Foundation/Foundation.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacFileManager final : public FileManager {
 public:
  std::optional<std::string> localApplicationsFolder() override {
    NSURL* folder = [[NSFileManager defaultManager] URLsForDirectory:NSApplicationDirectory inDomains:NSLocalDomainMask]
                        .firstObject;
    if (folder.path.length == 0) return std::nullopt;
    return str(folder.path);
  }

  std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) override {
    if (path.empty()) return std::nullopt;
    NSURL* folder = [NSURL fileURLWithPath:ns(path) isDirectory:YES];
    NSArray<NSURL*>* entries =
        [[NSFileManager defaultManager] contentsOfDirectoryAtURL:folder
                                      includingPropertiesForKeys:@[]
                                                         options:NSDirectoryEnumerationSkipsHiddenFiles
                                                           error:nil];
    if (!entries) return std::nullopt;
    std::vector<std::string> out;
    out.reserve(entries.count);
    for (NSURL* entry in entries) out.push_back(str(entry.path));
    return out;
  }
};

}  // namespace

std::unique_ptr<FileManager> makeFileManager() { return std::make_unique<MacFileManager>(); }

}  // namespace routelle::macos
