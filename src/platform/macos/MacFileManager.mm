#import <AppKit/AppKit.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

FileContents refused(FileContents::Status status, std::string why) { return {status, {}, std::move(why)}; }

FileContents failed(int error) {
  return refused(error == ENOENT || error == ENOTDIR ? FileContents::Status::missing : FileContents::Status::unreadable,
                 std::strerror(error));
}

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

  bool directoryExists(const std::string& path) override {
    BOOL isDirectory = NO;
    return [[NSFileManager defaultManager] fileExistsAtPath:ns(path) isDirectory:&isDirectory] && isDirectory;
  }

  // The descriptor is opened without blocking and checked before it is read,
  // so that a FIFO or a device in the file's place cannot stall the program.
  FileContents readFile(const std::string& path, std::size_t maxBytes) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failed(errno);
    struct Closer {
      int fd;
      ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) return failed(errno);
    if (S_ISDIR(status.st_mode)) return refused(FileContents::Status::notAFile, "a directory, not a file");
    if (!S_ISREG(status.st_mode)) return refused(FileContents::Status::notAFile, "not a regular file");
    const auto tooLarge = [maxBytes] {
      return refused(FileContents::Status::tooLarge, "larger than " + std::to_string(maxBytes) + " bytes");
    };
    if (static_cast<unsigned long long>(status.st_size) > maxBytes) return tooLarge();
    FileContents read{FileContents::Status::read, {}, {}};
    char buffer[64 * 1024];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return failed(errno);
      if (got == 0) return read;
      read.bytes.append(buffer, static_cast<std::size_t>(got));
      if (read.bytes.size() > maxBytes) return tooLarge();
    }
  }

  bool writeFile(const std::string& path, std::string_view bytes) override {
    NSData* data = [NSData dataWithBytes:bytes.data() length:bytes.size()];
    return [data writeToFile:ns(path) options:NSDataWritingAtomic error:nil];
  }

  void revealInFileBrowser(const std::string& path) override {
    [[NSWorkspace sharedWorkspace] activateFileViewerSelectingURLs:@[ [NSURL fileURLWithPath:ns(path)] ]];
  }
};

}  // namespace

std::unique_ptr<FileManager> makeFileManager() { return std::make_unique<MacFileManager>(); }

}  // namespace routelle::macos
