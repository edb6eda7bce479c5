#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/Shortcuts.h"

namespace routelle {

class HostShortcuts final : public Shortcuts {
 public:
  void unregisterAllShortcuts() override { registered_.clear(); }
  void registerShortcut(unsigned keyCode, std::uint64_t flags, std::function<void()> action) override {
    registered_[{keyCode, flags}] = std::move(action);
  }
  // Presses a registered shortcut; false when none is registered.
  bool press(unsigned keyCode, std::uint64_t flags) {
    auto it = registered_.find({keyCode, flags});
    if (it == registered_.end()) return false;
    it->second();
    return true;
  }
  bool isRegistered(unsigned keyCode, std::uint64_t flags) const { return registered_.contains({keyCode, flags}); }

 private:
  std::map<std::pair<unsigned, std::uint64_t>, std::function<void()>> registered_;
};

}  // namespace routelle
