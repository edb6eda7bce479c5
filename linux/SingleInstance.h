#pragma once
#include <QLocalServer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace routelle::desktop {

// One running program per user: its local socket lives in $XDG_RUNTIME_DIR (else
// the settings folder). A later start hands its link over and exits.
struct HandedLink {
  std::string link;
  int requester = 0;  // the process that started the later run; its parents asked for the link
};

// The socket's path.
std::string instanceSocketPath();

// A later start: the link goes to the running program, which has read what it
// needs of the requester's processes before this returns. False when none runs.
bool handToRunningInstance(const HandedLink& handed);

// The running program's end. Exclusive: false when another program holds it.
class InstanceServer {
 public:
  // Called for each link, on the main thread, once the requester's processes
  // have been read; the hand-over is acknowledged after `resolve` returns.
  using Resolve = std::function<std::function<void()>(const HandedLink& handed)>;
  bool listen(Resolve resolve);

 private:
  std::unique_ptr<QLocalServer> server_;
  int lockFile_ = -1;
};

}  // namespace routelle::desktop
