#pragma once
#include <optional>
#include <string>
#include <vector>

namespace routelle::linux_desktop {

// The platform's open command as the core runs it ("/usr/bin/open -g -a APP -- LINK"),
// read back into what it asks for, so that the desktop can do it.
struct OpenRequest {
  std::optional<std::string> application;  // -a: a path or a name
  std::optional<std::string> identifier;   // -b: a bundle identifier
  bool background = false;                 // -g
  std::vector<std::string> items;          // links or files
};

// Nothing when the arguments are not the open command's (an unknown option).
std::optional<OpenRequest> parseOpenArguments(const std::vector<std::string>& args);

}  // namespace routelle::linux_desktop
