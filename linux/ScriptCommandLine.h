#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "LinuxSystem.h"

namespace routelle::desktop {

// `script COMMAND [DIRECT] [--KEY VALUE]...`: runs one script command class on the
// stored settings and prints its result (`true`, `false` or `0`). Exit status 1 on a
// script error, 64 on a usage error.
int runScriptCommand(LinuxSystem& system, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace routelle::desktop
