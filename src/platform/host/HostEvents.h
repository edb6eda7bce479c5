#pragma once
#include <cstdint>

#include "platform/Events.h"

namespace routelle {

// Keyboard and pointer of the host world, as the driver sets them.
class HostEvents final : public Events {
 public:
  std::uint64_t modifierFlags() override { return flags; }
  Point mouseLocation() override { return pointer; }
  std::uint64_t flags = 0;
  Point pointer{400, 300};
};

}  // namespace routelle
