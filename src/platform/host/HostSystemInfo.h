#pragma once
#include "platform/SystemInfo.h"

namespace routelle {

class HostSystemInfo final : public SystemInfo {
 public:
  bool isAtLeast(int wantedMajor, int wantedMinor) override {
    return major != wantedMajor ? major > wantedMajor : minor >= wantedMinor;
  }
  int major = 10;
  int minor = 15;
};

}  // namespace routelle
