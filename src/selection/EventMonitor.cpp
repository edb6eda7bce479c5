#include "selection/EventMonitor.h"

namespace routelle {

void EventMonitor::start() {
  if (token_) return;
  token_ = events_.addGlobalMonitor(mask_, handler_);
}

void EventMonitor::stop() {
  if (!token_) return;
  events_.removeMonitor(*token_);
  token_.reset();
}

}  // namespace routelle
