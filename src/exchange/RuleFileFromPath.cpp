// The one place the core opens a file itself: the checks must be made on the
// descriptor that is read, and both targets of the program are POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "exchange/RuleFileParser.h"
#include "exchange/RuleFileReader.h"

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

RuleFileOutcome unreadable(const std::string& path, const std::string& why) {
  return {RuleFileEnd::unreadable, path + ": " + why};
}

}  // namespace

RuleFileOutcome readRuleFileAt(const std::string& path, const RuleFileHandlers& handlers) {
  // Non-blocking, so that opening a FIFO without a writer returns at once; its
  // type is then seen on the open descriptor, where it cannot be swapped.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) return unreadable(path, std::strerror(errno));
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return unreadable(path, std::strerror(errno));
  if (S_ISDIR(status.st_mode)) return unreadable(path, "a directory, not a rule file");
  if (!S_ISREG(status.st_mode)) return unreadable(path, "not a regular file");
  if (static_cast<unsigned long long>(status.st_size) > kRuleFileMaxBytes) {
    RuleFileOutcome refused = RuleFileParser::tooLarge();
    refused.message = path + ": " + refused.message;
    return refused;
  }

  RuleFileParser parser(handlers);
  std::array<char, 64 * 1024> buffer;
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return unreadable(path, std::strerror(errno));
    if (got == 0 || !parser.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) break;
  }
  RuleFileOutcome ended = parser.finish();
  if (!ended.message.empty()) ended.message = path + ": " + ended.message;
  return ended;
}

}  // namespace routelle
