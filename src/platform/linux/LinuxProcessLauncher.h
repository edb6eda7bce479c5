#pragma once
#include <functional>

#include "platform/ProcessLauncher.h"

namespace routelle {

// Starts executables with posix_spawn. The platform's open command is done by
// the desktop: its application is the desktop entry the path or name stands for,
// started through its Exec line by GIO (exit status 1 when there is none, as the
// command answers), or, with arguments for the application ("--args"), its Exec
// line with them in place of the link field code; without an application the
// desktop's default handler opens each item.
class LinuxProcessLauncher final : public ProcessLauncher {
 public:
  std::optional<int> runAndWait(const std::string& path, const std::vector<std::string>& args) override;
  bool start(const std::string& path, const std::vector<std::string>& args) override;

  // Each start of a desktop entry, for the tests and the log: the entry id and its command line's arguments.
  std::function<void(const std::string& id, const std::vector<std::string>& items)> onLaunch;

 private:
  std::optional<int> open(const std::vector<std::string>& args);
};

// Runs a program found through PATH and answers its standard output, or nothing
// when it could not be run or exited with a status other than 0.
std::optional<std::string> captureOutput(const std::vector<std::string>& argv);

}  // namespace routelle
