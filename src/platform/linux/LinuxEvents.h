#pragma once
#include "platform/Events.h"

namespace routelle {

// Modifier keys and the pointer from the display server through Qt, in the
// platform's terms (flag bits; screen coordinates with the origin at the lower
// left of the primary screen). No global monitors: other applications' events
// are not the program's to see here.
class LinuxEvents final : public Events {
 public:
  std::uint64_t modifierFlags() override;
  Point mouseLocation() override;
  std::optional<MonitorToken> addGlobalMonitor(EventMask, GlobalEventHandler) override { return std::nullopt; }
  void removeMonitor(MonitorToken) override {}
};

// The primary screen's height, by which the platform's and Qt's vertical axes are mirrored.
double primaryScreenHeight();

}  // namespace routelle
