#pragma once
#include <cstdint>
#include <vector>

#include "platform/Events.h"

namespace routelle {

// Keyboard and pointer of the host world, as the driver sets them, and its global
// monitors: an event the world delivers reaches every monitor whose mask has its kind.
class HostEvents final : public Events {
 public:
  std::uint64_t modifierFlags() override { return flags; }
  Point mouseLocation() override { return pointer; }
  std::optional<MonitorToken> addGlobalMonitor(EventMask mask, GlobalEventHandler handler) override;
  void removeMonitor(MonitorToken token) override;

  // An event in another application at the pointer. Monitors added while it is being
  // handed out do not see it; monitors removed meanwhile get it no more.
  void deliver(EventType type);
  std::size_t monitorCount() const { return monitors_.size(); }

  std::uint64_t flags = 0;
  Point pointer{400, 300};

 private:
  struct Monitor {
    MonitorToken token;
    EventMask mask;
    GlobalEventHandler handler;
  };
  std::vector<Monitor> monitors_;
  MonitorToken nextToken_ = 1;
};

}  // namespace routelle
