// Starting a program of the host world: the arguments go to it as they are (no
// shell), in this process's environment with one variable set or removed.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace routelle {

struct SpawnRequest {
  const std::string& executable;
  const std::vector<std::string>& arguments;
  std::string_view variable;         // replaced in the environment...
  std::optional<std::string> value;  // ...by this value, or removed
  bool newSession = false;           // detached from the caller's terminal and signals
};

// The child's process id, or -1 when it could not be started.
pid_t spawnProgram(const SpawnRequest& request);

}  // namespace routelle
