#pragma once
#include "platform/Shortcuts.h"

namespace routelle {

// System-wide shortcuts belong to the desktop's own settings here: none are registered.
class LinuxShortcuts final : public Shortcuts {
 public:
  void unregisterAllShortcuts() override {}
  void registerShortcut(unsigned, std::uint64_t, std::function<void()>) override {}
};

}  // namespace routelle
