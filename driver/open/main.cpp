// Stand-in of the platform's open command inside the host world (ROUTELLE_WORLD):
//   open [-g] -a APPLICATION [ARG...]   an application by path or by name
//   open [-n] [-g] -a APPLICATION --args ARG...
//                                       a new instance, given the arguments as they are
//   open [-g] -b BUNDLE-ID [ARG...]     an application by bundle identifier
//   open [-g] URL|PATH...               each URL with its default handler, each
//                                       document with an application for its type
// A found application's executable is started detached with the arguments,
// with OPEN_BACKGROUND=1 in its environment under -g. Exit status 1 when no such
// application exists, as the platform's command does.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "HostSystem.h"
#include "platform/host/Spawn.h"

namespace {

using namespace routelle;

int startDetached(const std::string& executable, const std::vector<std::string>& args, bool background) {
  const pid_t pid = spawnProgram({.executable = executable,
                                  .arguments = args,
                                  .variable = "OPEN_BACKGROUND",
                                  .value = background ? std::optional<std::string>("1") : std::nullopt,
                                  .newSession = true});
  if (pid < 0) {
    std::cerr << "The application cannot be opened: " << executable << "\n";
    return 1;
  }
  return 0;
}

int openApplication(HostSystem& system, const std::string& platformPath, const std::vector<std::string>& args,
                    bool background) {
  auto info = readBundleInfo(system.world.hostPath(platformPath));
  if (!info || info->executable.empty()) {
    std::cerr << "The application at " << platformPath << " cannot be opened.\n";
    return 1;
  }
  const auto executable = system.world.hostPath(platformPath + "/Contents/MacOS/" + info->executable);
  return startDetached(executable.string(), args, background);
}

std::optional<std::string> applicationByPathOrName(HostSystem& system, const std::string& app) {
  if (app.find('/') == std::string::npos) return system.workspace.fullPathForApplication(app);
  std::error_code ec;
  std::string path = app;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (std::filesystem::is_directory(system.world.hostPath(path), ec) && path.ends_with(".app")) return path;
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  const char* root = std::getenv("ROUTELLE_WORLD");
  if (!root || !*root) {
    std::cerr << "open: ROUTELLE_WORLD does not name a world\n";
    return 1;
  }
  bool background = false;
  std::optional<std::string> byName, byIdentifier;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-g")
      background = true;
    else if (a == "-n")
      continue;  // every start in the world is a new process already
    else if (a == "--args" || a == "--") {
      ++i;
      break;
    } else if ((a == "-a" || a == "-b") && i + 1 < argc)
      (a == "-a" ? byName : byIdentifier) = argv[++i];
    else if (a.size() > 1 && a[0] == '-') {
      std::cerr << "open: unknown option " << a << "\n";
      return 1;
    } else
      break;
  }
  std::vector<std::string> rest(argv + i, argv + argc);

  HostSystem system(root);
  if (byName || byIdentifier) {
    auto path =
        byName ? applicationByPathOrName(system, *byName) : system.workspace.pathForBundleIdentifier(*byIdentifier);
    if (!path) {
      if (byName)
        std::cerr << "Unable to find application named '" << *byName << "'\n";
      else
        std::cerr << "Unable to find application with bundle identifier '" << *byIdentifier << "'\n";
      return 1;
    }
    return openApplication(system, *path, rest, background);
  }
  if (rest.empty()) {
    std::cerr << "usage: open [-g] [-a application | -b bundle-identifier] [argument ...]\n";
    return 1;
  }
  int status = 0;
  for (const auto& target : rest) {
    // A path is a document: the first application declaring its extension opens it.
    if (target.starts_with("/")) {
      auto apps = system.launchServices.applicationsForURL("file://" + target);
      if (!apps.empty() && openApplication(system, apps.front(), {target}, background) == 0) continue;
    } else if (system.workspace.openURL(target)) {
      continue;
    }
    std::cerr << "No application knows how to open " << target << "\n";
    status = 1;
  }
  return status;
}
