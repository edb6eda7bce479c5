#include "platform/posix/RegularFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace routelle::posix {
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

FileContents readRegularFile(const std::string& path, std::size_t maxBytes) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
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

bool replaceRegularFile(const std::string& path, std::string_view bytes) {
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) return false;
  // A hidden temporary beside the file (std::filesystem and mkostemp are newer than
  // the oldest macOS the program runs on).
  const std::size_t slash = path.rfind('/');
  const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  std::string temp = path.substr(0, nameAt) + "." + path.substr(nameAt) + ".XXXXXX";
  const Descriptor file(::mkstemp(temp.data()));
  if (file.get() < 0) return false;
  ::fcntl(file.get(), F_SETFD, FD_CLOEXEC);
  bool whole = ::fchmod(file.get(), 0644) == 0;
  while (whole && !bytes.empty()) {
    const ssize_t wrote = ::write(file.get(), bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    whole = wrote > 0;
    if (whole) bytes.remove_prefix(static_cast<std::size_t>(wrote));
  }
  whole = whole && ::fsync(file.get()) == 0 && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!whole) ::unlink(temp.c_str());
  return whole;
}

}  // namespace routelle::posix
