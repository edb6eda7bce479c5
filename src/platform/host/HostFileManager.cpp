#include "platform/host/HostFileManager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace routelle {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

FileContents refused(FileContents::Status status, std::string why) { return {status, {}, std::move(why)}; }

FileContents failed(int error) {
  return refused(error == ENOENT || error == ENOTDIR ? FileContents::Status::missing : FileContents::Status::unreadable,
                 std::strerror(error));
}

}  // namespace

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
  // Non-blocking, so that opening a FIFO without a writer returns at once; the
  // file's kind is then seen on the open descriptor, where it cannot be swapped.
  const Descriptor file(::open(world_.hostPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) return failed(errno);
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return failed(errno);
  if (S_ISDIR(status.st_mode)) return refused(FileContents::Status::notAFile, "a directory, not a file");
  if (!S_ISREG(status.st_mode)) return refused(FileContents::Status::notAFile, "not a regular file");
  const auto tooLarge = [maxBytes] {
    return refused(FileContents::Status::tooLarge, "larger than " + std::to_string(maxBytes) + " bytes");
  };
  if (static_cast<unsigned long long>(status.st_size) > maxBytes) return tooLarge();

  FileContents read{FileContents::Status::read, {}, {}};
  read.bytes.reserve(static_cast<std::size_t>(status.st_size));
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return failed(errno);
    if (got == 0) return read;
    read.bytes.append(buffer, static_cast<std::size_t>(got));
    // It may have grown since it was measured.
    if (read.bytes.size() > maxBytes) return tooLarge();
  }
}

bool HostFileManager::writeFile(const std::string& path, std::string_view bytes) {
  const std::filesystem::path target = world_.hostPath(path);
  // A link in the file's place is not followed out of the world, and whatever is
  // not a regular file is left alone.
  struct stat existing {};
  if (::lstat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) return false;
  // The text goes to a hidden temporary beside the file and replaces it whole:
  // an interrupted write never leaves a torn file nor loses the one it replaces.
  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const Descriptor file(::mkostemp(temp.data(), O_CLOEXEC));
  if (file.get() < 0) return false;
  bool whole = ::fchmod(file.get(), 0644) == 0;
  while (whole && !bytes.empty()) {
    const ssize_t wrote = ::write(file.get(), bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    whole = wrote > 0;
    if (whole) bytes.remove_prefix(static_cast<std::size_t>(wrote));
  }
  whole = whole && ::fsync(file.get()) == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!whole) ::unlink(temp.c_str());
  return whole;
}

void HostFileManager::revealInFileBrowser(const std::string& path) {
  const auto log = world_.hostPath(kFileBrowserLog);
  std::error_code ec;
  std::filesystem::create_directories(log.parent_path(), ec);
  std::ofstream(log, std::ios::app) << path << "\n";
  if (transcript) transcript->add("file browser shows " + path);
}

}  // namespace routelle
