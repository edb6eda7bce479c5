#include "platform/host/HostEvents.h"

#include <algorithm>

namespace routelle {

std::optional<Events::MonitorToken> HostEvents::addGlobalMonitor(EventMask mask, GlobalEventHandler handler) {
  if (!handler) return std::nullopt;
  const MonitorToken token = nextToken_++;
  monitors_.push_back({token, mask, std::move(handler)});
  return token;
}

void HostEvents::removeMonitor(MonitorToken token) {
  std::erase_if(monitors_, [token](const Monitor& m) { return m.token == token; });
}

void HostEvents::deliver(EventType type) {
  const GlobalEvent event{type, pointer};
  const EventMask kind = maskOf(type);
  // Monitors stay in token order. A handler may add or remove monitors, its own
  // included, so each next one is looked up afresh and its handler copied before the call.
  const MonitorToken newest = nextToken_;
  MonitorToken after = 0;
  for (;;) {
    auto next = std::find_if(monitors_.begin(), monitors_.end(), [&](const Monitor& m) {
      return m.token > after && m.token < newest && (m.mask & kind) != 0;
    });
    if (next == monitors_.end()) return;
    after = next->token;
    GlobalEventHandler handler = next->handler;
    handler(event);
  }
}

}  // namespace routelle
