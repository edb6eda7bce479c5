#pragma once
#include <optional>

#include "platform/Events.h"

namespace routelle {

// One global event monitor that can be started and stopped ("EventMonitor"); a
// destroyed monitor never delivers again.
class EventMonitor {
 public:
  EventMonitor(Events& events, EventMask mask, Events::GlobalEventHandler handler)
      : events_(events), mask_(mask), handler_(std::move(handler)) {}
  ~EventMonitor() { stop(); }
  EventMonitor(const EventMonitor&) = delete;
  EventMonitor& operator=(const EventMonitor&) = delete;

  // Registers the monitor; nothing when it runs already, so no registration is lost.
  void start();
  void stop();
  bool running() const { return token_.has_value(); }

 private:
  Events& events_;
  const EventMask mask_;
  const Events::GlobalEventHandler handler_;
  std::optional<Events::MonitorToken> token_;  // "monitor": empty while not running
};

}  // namespace routelle
