#pragma once
#include <cstdint>
#include <functional>

namespace routelle {

// System-wide keyboard shortcuts.
class Shortcuts {
 public:
  virtual ~Shortcuts() = default;
  virtual void unregisterAllShortcuts() = 0;
  virtual void registerShortcut(unsigned keyCode, std::uint64_t modifierFlags, std::function<void()> action) = 0;
};

}  // namespace routelle
