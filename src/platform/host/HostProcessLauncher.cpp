#include "platform/host/HostProcessLauncher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

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
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e)
    if (std::string(*e).rfind("ROUTELLE_WORLD=", 0) != 0) env.emplace_back(*e);
  env.push_back("ROUTELLE_WORLD=" + world_.root().string());

  std::vector<char*> argv{const_cast<char*>(executable.c_str())};
  argv.reserve(args.size() + 2);
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  envp.reserve(env.size() + 1);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = -1;
  if (posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
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
