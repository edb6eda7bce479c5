#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Workspace.h"

namespace routelle {

// What the moment a link arrives holds besides the settings: the keys held,
// the application the user left, and the applications running.
struct LinkMoment {
  std::uint64_t modifierFlags = 0;
  std::optional<RunningApplication> previousApplication;  // "previousApp"
  // In the workspace's order; none: the workspace is asked when it matters.
  std::optional<std::vector<RunningApplication>> running;
};

}  // namespace routelle
