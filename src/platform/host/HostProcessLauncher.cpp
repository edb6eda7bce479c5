#include "platform/host/HostProcessLauncher.h"

#include "platform/host/Spawn.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace routelle {

HostProcessLauncher::HostProcessLauncher(const World& world, std::filesystem::path openCommand, Transcript* transcript)
    : world_(world), openCommand_(std::move(openCommand)), transcript_(transcript) {}

std::string HostProcessLauncher::executableFor(const std::string& platformPath) const {
  if (platformPath == "/usr/bin/open") return openCommand_.string();
  return world_.hostPath(platformPath).string();
}

int HostProcessLauncher::spawn(const std::string& path, const std::vector<std::string>& args) {
  if (transcript_) {
    std::string line = "run " + path;
    for (const auto& a : args) line += " " + (a.find(' ') == std::string::npos && !a.empty() ? a : "\"" + a + "\"");
    transcript_->add(std::move(line));
  }

  const std::string executable = executableFor(path);
  return spawnProgram(
      {.executable = executable, .arguments = args, .variable = "ROUTELLE_WORLD", .value = world_.root().string()});
}

std::optional<int> HostProcessLauncher::runAndWait(const std::string& path, const std::vector<std::string>& args) {
  const int pid = spawn(path, args);
  if (pid <= 0) return std::nullopt;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return std::nullopt;
  if (!WIFEXITED(status)) return std::nullopt;
  if (transcript_) transcript_->add("  exit status " + std::to_string(WEXITSTATUS(status)));
  return WEXITSTATUS(status);
}

bool HostProcessLauncher::start(const std::string& path, const std::vector<std::string>& args) {
  // Reaped by whoever reaps the driver's children (it is a subreaper).
  return spawn(path, args) > 0;
}

}  // namespace routelle
