#pragma once
#include "platform/SystemInfo.h"

namespace routelle {

// The version questions the core asks are the Mac's; this system is none of them.
class LinuxSystemInfo final : public SystemInfo {
 public:
  bool isAtLeast(int, int) override { return false; }
};

}  // namespace routelle
