#pragma once
#include <optional>
#include <string>
#include <vector>

namespace routelle {

// Starts executables (by platform path) with arguments.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Waits for the process and answers its exit status; nothing when it could
  // not be started or did not exit normally.
  virtual std::optional<int> runAndWait(const std::string& path, const std::vector<std::string>& args) = 0;
  // Starts the process without waiting; whether it could be started.
  virtual bool start(const std::string& path, const std::vector<std::string>& args) = 0;
};

}  // namespace routelle
