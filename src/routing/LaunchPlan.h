#pragma once
#include <string>
#include <vector>

namespace routelle {

// How the launcher starts a browser with a link: the commands it runs, in
// order, and what it does with their answers. Planned once, so that starting
// and explaining the start are one.
struct LaunchPlan {
  enum class Way {
    openCommand,        // the open command; exit status 1 ("no such application") tries the next command
    openCommandStrict,  // the open command, once: anything but 0 is a failure
    executable,         // the application's executable, started with the link
    openURL,            // the workspace opens a URL of the browser's own scheme
    refused,            // nothing can start it (the reason says why)
  };
  struct Command {
    std::string program;  // "/usr/bin/open", an executable, or the URL opened
    std::vector<std::string> arguments;
  };
  Way way = Way::refused;
  bool background = false;
  std::vector<Command> commands;  // the second, if any, runs only when the first finds no application
  std::string reason;             // for refused
};

}  // namespace routelle
