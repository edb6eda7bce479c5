#include "platform/host/Spawn.h"

#include <spawn.h>

extern char** environ;

namespace routelle {

pid_t spawnProgram(const SpawnRequest& request) {
  const std::string prefix = std::string(request.variable) + "=";
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e)
    if (!std::string_view(*e).starts_with(prefix)) env.emplace_back(*e);
  if (request.value) env.push_back(prefix + *request.value);

  std::vector<char*> argv{const_cast<char*>(request.executable.c_str())};
  argv.reserve(request.arguments.size() + 2);
  for (const auto& a : request.arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  envp.reserve(env.size() + 1);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (request.newSession) posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, request.executable.c_str(), nullptr, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  return failed ? -1 : pid;
}

}  // namespace routelle
