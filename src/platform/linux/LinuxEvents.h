#pragma once
#include <map>

#include "platform/Events.h"

namespace routelle {

// Modifier keys and the pointer from the display server through Qt, in the
// platform's terms (flag bits; screen coordinates with the origin at the lower
// left of the primary screen).
//
// Other applications' mouse and key events are not a client's to see under X11.
// What they come to is: a selection made with the mouse ends when the
// application takes the PRIMARY selection, so a monitor of button releases hears
// of each new PRIMARY selection, at the pointer. Other monitors hear nothing.
class LinuxEvents final : public Events {
 public:
  std::uint64_t modifierFlags() override;
  Point mouseLocation() override;
  std::optional<MonitorToken> addGlobalMonitor(EventMask mask, GlobalEventHandler handler) override;
  void removeMonitor(MonitorToken token) override { selectionMonitors_.erase(token); }

 private:
  void selectionChanged();
  bool listening_ = false;
  MonitorToken next_ = 1;
  std::map<MonitorToken, GlobalEventHandler> selectionMonitors_;
};

// The primary screen's height, by which the platform's and Qt's vertical axes are mirrored.
double primaryScreenHeight();

}  // namespace routelle
