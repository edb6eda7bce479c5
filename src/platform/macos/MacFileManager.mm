#import <AppKit/AppKit.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"
#include "platform/posix/RegularFiles.h"

namespace routelle::macos {
namespace {

class MacFileManager final : public FileManager {
 public:
  std::optional<std::string> localApplicationsFolder() override {
    NSArray<NSString*>* found = NSSearchPathForDirectoriesInDomains(NSApplicationDirectory, NSLocalDomainMask, YES);
    if (found.count == 0) return std::nullopt;
    return str(found.firstObject);
  }

  // Hidden as the platform means it: a leading dot or the hidden flag. The paths
  // keep the folder as the caller spelled it.
  std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) override {
    if (path.empty()) return std::nullopt;
    NSString* folder = ns(path);
    NSArray<NSURL*>* entries =
        [[NSFileManager defaultManager] contentsOfDirectoryAtURL:[NSURL fileURLWithPath:folder isDirectory:YES]
                                      includingPropertiesForKeys:@[]
                                                         options:NSDirectoryEnumerationSkipsHiddenFiles
                                                           error:nil];
    if (!entries) return std::nullopt;
    std::vector<std::string> out;
    out.reserve(entries.count);
    for (NSURL* entry in entries) out.push_back(str([folder stringByAppendingPathComponent:entry.lastPathComponent]));
    return out;
  }

  std::string homeDirectory() override { return str(NSHomeDirectory()); }

  std::optional<std::string> downloadsDirectory() override {
    NSArray<NSString*>* found = NSSearchPathForDirectoriesInDomains(NSDownloadsDirectory, NSAllDomainsMask, YES);
    if (found.count == 0) return std::nullopt;
    return str(found.firstObject);
  }

  ApplicationDataFolders applicationDataFolders() override {
    NSArray<NSString*>* found =
        NSSearchPathForDirectoriesInDomains(NSApplicationSupportDirectory, NSUserDomainMask, YES);
    NSString* folder = found.count > 0
                           ? found.firstObject
                           : [NSHomeDirectory() stringByAppendingPathComponent:@"Library/Application Support"];
    return {ApplicationDataFolders::Layout::macOS, str(folder)};
  }

  bool directoryExists(const std::string& path) override {
    BOOL isDirectory = NO;
    return [[NSFileManager defaultManager] fileExistsAtPath:ns(path) isDirectory:&isDirectory] && isDirectory;
  }

  FileContents readFile(const std::string& path, std::size_t maxBytes) override {
    return posix::readRegularFile(path, maxBytes);
  }

  bool writeFile(const std::string& path, std::string_view bytes) override {
    return posix::replaceRegularFile(path, bytes);
  }

  void revealInFileBrowser(const std::string& path) override {
    [[NSWorkspace sharedWorkspace] activateFileViewerSelectingURLs:@[ [NSURL fileURLWithPath:ns(path)] ]];
  }
};

}  // namespace

std::unique_ptr<FileManager> makeFileManager() { return std::make_unique<MacFileManager>(); }

}  // namespace routelle::macos
