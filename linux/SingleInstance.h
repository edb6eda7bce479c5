#pragma once
#include <QLocalServer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "HandOff.h"

namespace routelle::desktop {

// One running program per user, reached over its local socket (see HandOff.h).
// The running program's end. Exclusive: false when another program holds it.
class InstanceServer {
 public:
  // Called for each link, on the main thread, once the requester's processes
  // have been read; the hand-over is acknowledged after `resolve` returns.
  using Resolve = std::function<std::function<void()>(const HandedLink& handed)>;
  bool listen(const Resolve& resolve);

 private:
  std::unique_ptr<QLocalServer> server_;
  int lockFile_ = -1;
};

}  // namespace routelle::desktop
