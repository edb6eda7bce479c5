#pragma once
#include <string>
#include <vector>

namespace routelle::linux_desktop {

// Starts a program found through PATH, in `folder` when one is given, with no
// descriptor of this process but the standard three, and reaps it from the main
// loop. posix_spawn, not fork: copying the page tables of a process as large as
// the tray costs milliseconds on every link. False when it could not be started.
bool startProgram(const std::vector<std::string>& argv, const std::string& folder = {});

}  // namespace routelle::linux_desktop
