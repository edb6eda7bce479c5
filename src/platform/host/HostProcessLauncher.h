#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ProcessLauncher.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

// Starts processes of the host world. Platform paths map into the world, except
// "/usr/bin/open", which is the project's stand-in of the open command. Started
// processes learn the world's root from ROUTELLE_WORLD.
class HostProcessLauncher final : public ProcessLauncher {
 public:
  // Every start ("run PATH ARG...") and the exit status of waited ones are shown on
  // the transcript, when there is one.
  HostProcessLauncher(const World& world, std::filesystem::path openCommand, Transcript* transcript = nullptr);

  std::optional<int> runAndWait(const std::string& path, const std::vector<std::string>& args) override;
  bool start(const std::string& path, const std::vector<std::string>& args) override;

 private:
  std::string executableFor(const std::string& platformPath) const;
  int spawn(const std::string& path, const std::vector<std::string>& args);

  const World& world_;
  std::filesystem::path openCommand_;
  Transcript* const transcript_;
};

}  // namespace routelle
