#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/AppleEvents.h"

namespace routelle {

// The Apple-event manager of the host world: the driver delivers events to the
// handlers the program registered, and events nobody handles are dropped.
class HostAppleEvents final : public AppleEvents {
 public:
  void setEventHandler(std::uint32_t eventClass, std::uint32_t eventID, Handler handler) override {
    handlers_[{eventClass, eventID}] = std::move(handler);
  }
  bool deliver(std::uint32_t eventClass, std::uint32_t eventID, const std::optional<std::string>& directParameter) {
    auto it = handlers_.find({eventClass, eventID});
    if (it == handlers_.end()) return false;
    it->second(directParameter);
    return true;
  }

 private:
  std::map<std::pair<std::uint32_t, std::uint32_t>, Handler> handlers_;
};

}  // namespace routelle
