#include "HandOff.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace routelle::desktop {
namespace {

constexpr int kWaitMilliseconds = 5000;
// A link is at most this long on the socket: a longer one is refused, not read.
constexpr std::size_t kLongestLink = 1 << 20;

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string instanceSocketPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/routelle-desktop.socket";
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string base = config && *config ? std::string(config) : std::string(home ? home : "") + "/.config";
  return base + "/routelle/routelle-desktop.socket";
}

std::string handOffMessage(const HandedLink& handed) {
  return std::to_string(handed.requester) + " " + std::to_string(handed.link.size()) + "\n" + handed.link;
}

MessageState readHandOffMessage(const std::string& bytes, HandedLink& handed) {
  const auto end = bytes.find('\n');
  if (end == std::string::npos) return bytes.size() > 32 ? MessageState::invalid : MessageState::incomplete;
  const auto blank = bytes.find(' ');
  if (blank == std::string::npos || blank > end) return MessageState::invalid;
  int requester = 0;
  std::size_t length = 0;
  const char* first = bytes.data();
  if (std::from_chars(first, first + blank, requester).ptr != first + blank ||
      std::from_chars(first + blank + 1, first + end, length).ptr != first + end || length > kLongestLink)
    return MessageState::invalid;
  if (bytes.size() - end - 1 < length) return MessageState::incomplete;
  if (bytes.size() - end - 1 > length) return MessageState::invalid;
  handed = {bytes.substr(end + 1), requester};
  return MessageState::complete;
}

bool handToRunningInstance(const HandedLink& handed) {
  const std::string path = instanceSocketPath();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool answered = false;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      writeAll(fd, handOffMessage(handed))) {
    pollfd wait{fd, POLLIN, 0};
    char answer = 0;
    answered = ::poll(&wait, 1, kWaitMilliseconds) == 1 && ::read(fd, &answer, 1) == 1;
  }
  ::close(fd);
  return answered;
}

}  // namespace routelle::desktop
