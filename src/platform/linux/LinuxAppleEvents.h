#pragma once
#include <map>
#include <utility>

#include "platform/AppleEvents.h"

namespace routelle {

// Links reach the program on its command line or over its local socket; the
// front end hands each one to the get-URL handler the core registered.
class LinuxAppleEvents final : public AppleEvents {
 public:
  void setEventHandler(std::uint32_t eventClass, std::uint32_t eventID, Handler handler) override {
    handlers_[{eventClass, eventID}] = std::move(handler);
  }
  // False when the core registered no handler for the link.
  bool deliverLink(const std::string& link) {
    auto it = handlers_.find({kInternetEventClass, kGetURLEventID});
    if (it == handlers_.end()) return false;
    it->second(link);
    return true;
  }

 private:
  std::map<std::pair<std::uint32_t, std::uint32_t>, Handler> handlers_;
};

}  // namespace routelle
