// routelle-desktop-app: the program on Linux desktops, started by routelle-desktop
// (launcher.cpp) when no program runs yet.
//
//   routelle-desktop [LINK]              route a link (handed to the running program when there is one)
//   routelle-desktop --install [--make-default]
//   routelle-desktop --make-default
//   routelle-desktop script COMMAND [DIRECT] [--KEY VALUE]...
//   routelle-desktop explain LINK
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Install.h"
#include "LinuxApp.h"
#include "ScriptCommandLine.h"
#include "SingleInstance.h"
#include "app/OwnHandler.h"
#include "platform/linux/MainThreadTasks.h"

namespace {

using namespace routelle;
using namespace routelle::desktop;
namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: routelle-desktop [LINK]\n"
    "       routelle-desktop --install [--make-default]\n"
    "       routelle-desktop --make-default\n"
    "       routelle-desktop script COMMAND [DIRECT] [--KEY VALUE]...\n"
    "       routelle-desktop explain LINK\n";

fs::path executablePath() {
  std::error_code error;
  auto path = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path("routelle-desktop-app") : path;
}

// What the desktop starts with a link: the small launcher beside this program.
fs::path launcherPath() { return executablePath().parent_path() / "routelle-desktop"; }

// The images: installed beside the program's data, or made beside it in a build.
std::string resourcesFolder() {
  const fs::path bin = executablePath().parent_path();
  for (const fs::path& candidate : {bin / "../share/routelle", bin / "resources"}) {
    std::error_code error;
    if (fs::is_directory(candidate, error)) return fs::weakly_canonical(candidate, error).string();
  }
  return (bin / "resources").string();
}

// http, https and mailto (text/html goes with the web) become the program's.
bool makeDefault(LaunchServices& launchServices) {
  const std::string own(domains::ownBundleIdentifier);
  bool ok = true;
  for (const char* scheme : {"http", "https", "mailto"}) ok = launchServices.setDefaultHandler(scheme, own) && ok;
  if (!ok) std::cerr << "routelle-desktop: the desktop did not take Routelle as the default for every link\n";
  return ok;
}

// --install without --make-default: asked with the program's own question.
bool askToBecomeDefault(int argc, char** argv) {
  QApplication qt(argc, argv);
  LinuxApp app(resourcesFolder());
  AlertModel alert;
  alert.messageText = "Set Routelle as Default web browser?";
  alert.buttons = {"Yes", "No"};
  if (app.presenter.runModalAlert(alert) != 0) return true;
  return makeDefault(app.system.launchServices);
}

// The whole program built but not started, on no screen: what explaining needs,
// since start-up writes first-use settings and explaining changes nothing.
template <typename Use>
int withProgramOffScreen(int argc, char** argv, Use use) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  LinuxApp app(resourcesFolder());
  return use(app);
}

int runTray(int argc, char** argv, const std::optional<std::string>& link) {
  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName("Routelle");
  LinuxApp app(resourcesFolder());
  InstanceServer server;
  if (!server.listen([&app](const HandedLink& handed) {
        auto source = sourceOf(handed.requester);
        return [&app, source, link = handed.link] { app.openLink(link, source); };
      })) {
    // Another start won the race: hand the link to it instead.
    if (link && handToRunningInstance({*link, static_cast<int>(getppid())})) return 0;
    std::cerr << "routelle-desktop: another Routelle is starting or the socket cannot be made\n";
    return 1;
  }
  app.start();
  if (link) {
    auto source = sourceOf(static_cast<int>(getppid()));
    linux_desktop::postToMainThread([&app, source, link] { app.openLink(*link, source); });
  }
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "script") {
    // Some commands post their work to the program (export, import) or ask it
    // (explain): it is made and hears them as the running one would.
    const std::vector<std::string> command(args.begin() + 1, args.end());
    return withProgramOffScreen(argc, argv, [&](LinuxApp& app) {
      app.listenToScriptCommands();
      const int status = runScriptCommand(app.system, command, std::cout, std::cerr);
      app.finishPostedWork();
      return status;
    });
  }
  if (!args.empty() && args[0] == "explain") {
    if (args.size() != 2) {
      std::cerr << kUsage;
      return 64;
    }
    return withProgramOffScreen(argc, argv, [&](LinuxApp& app) {
      std::cout << app.delegate.explainLink(args[1]);
      return 0;
    });
  }
  bool install = false, makeDefaultNow = false;
  std::optional<std::string> link;
  for (const auto& arg : args) {
    if (arg == "--install") {
      install = true;
    } else if (arg == "--make-default") {
      makeDefaultNow = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg.starts_with("--") || link) {
      std::cerr << kUsage;
      return 64;
    } else {
      link = arg;
    }
  }
  if (install || makeDefaultNow) {
    if (link) {
      std::cerr << kUsage;
      return 64;
    }
    if (install && !installDesktopEntry(launcherPath().string(), resourcesFolder())) return 1;
    if (makeDefaultNow) {
      LinuxSystem system;
      return makeDefault(system.launchServices) ? 0 : 1;
    }
    return askToBecomeDefault(argc, argv) ? 0 : 1;
  }
  // A running program takes the link (or, with none, is already there).
  if (link ? handToRunningInstance({*link, static_cast<int>(getppid())}) : handToRunningInstance({"", 0})) return 0;
  return runTray(argc, argv, link);
}
