#include "platform/linux/LinuxProcessLauncher.h"

#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/DesktopEntries.h"
#include "platform/linux/OpenCommand.h"
#include "platform/linux/ProgramStart.h"

extern char** environ;

namespace routelle {
namespace {

using linux_desktop::DesktopEntries;

constexpr std::string_view kOpenCommand = "/usr/bin/open";

int spawn(const std::vector<std::string>& argv, posix_spawn_file_actions_t* actions, bool searchPath) {
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int error = searchPath ? posix_spawnp(&pid, args[0], actions, nullptr, args.data(), environ)
                               : posix_spawn(&pid, args[0], actions, nullptr, args.data(), environ);
  return error == 0 ? pid : -1;
}

std::optional<int> waitFor(int pid) {
  if (pid <= 0) return std::nullopt;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return std::nullopt;
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

// The entry an "-a" or "-b" names: the program's own identifier is its own entry.
std::optional<linux_desktop::DesktopEntry> entryFor(const linux_desktop::OpenRequest& request) {
  if (request.identifier) return DesktopEntries::byId(linux_desktop::entryOfIdentifier(*request.identifier));
  const std::string& application = *request.application;
  if (auto entry = DesktopEntries::byId(linux_desktop::idOfApplicationPath(application))) return entry;
  if (application.find('/') == std::string::npos) return DesktopEntries::byName(application);
  return std::nullopt;
}

// Starts the entry's Exec line with the application's own arguments, which GIO
// cannot add: the line is split as GIO splits it, the arguments take the place
// of its link field code, and the program is started without a shell.
bool launchWithArguments(const std::string& id, const std::vector<std::string>& arguments) {
  GDesktopAppInfo* info = g_desktop_app_info_new(linux_desktop::desktopFileId(id).c_str());
  if (!info) return false;
  const char* exec = g_app_info_get_commandline(G_APP_INFO(info));
  gchar** words = nullptr;
  bool ok = exec && g_shell_parse_argv(exec, nullptr, &words, nullptr);
  if (ok) {
    gchar* icon = g_desktop_app_info_get_string(info, "Icon");
    gchar* folder = g_desktop_app_info_get_string(info, "Path");
    const char* file = g_desktop_app_info_get_filename(info);
    const char* name = g_app_info_get_name(G_APP_INFO(info));
    const std::vector<std::string> line =
        linux_desktop::expandExec(std::vector<std::string>(words, words + g_strv_length(words)), arguments,
                                  {icon ? icon : "", name ? name : "", file ? file : ""});
    ok = linux_desktop::startProgram(line, folder ? folder : "");
    g_free(icon);
    g_free(folder);
  }
  g_strfreev(words);
  g_object_unref(info);
  return ok;
}

}  // namespace

std::optional<int> LinuxProcessLauncher::open(const std::vector<std::string>& args) {
  const auto request = linux_desktop::parseOpenArguments(args);
  if (!request) return std::nullopt;
  if (!request->application && !request->identifier) {
    if (!request->arguments.empty()) return std::nullopt;  // arguments for no application
    for (const auto& item : request->items) {
      gchar* uri = item.find(':') == std::string::npos ? g_filename_to_uri(item.c_str(), nullptr, nullptr)
                                                       : g_strdup(item.c_str());
      const bool ok = uri && g_app_info_launch_default_for_uri(uri, nullptr, nullptr);
      g_free(uri);
      if (!ok) return 1;
    }
    return 0;
  }
  const auto entry = entryFor(*request);
  if (!entry) return 1;
  if (request->arguments.empty()) {
    if (!DesktopEntries::launch(entry->id, request->items)) return 1;
    if (onLaunch) onLaunch(entry->id, request->items);
    return 0;
  }
  // The open command hands items to an application apart from its arguments;
  // an entry takes both on its command line, the arguments first.
  std::vector<std::string> line = request->arguments;
  line.insert(line.end(), request->items.begin(), request->items.end());
  if (!launchWithArguments(entry->id, line)) return 1;
  if (onLaunch) onLaunch(entry->id, line);
  return 0;
}

std::optional<int> LinuxProcessLauncher::runAndWait(const std::string& path, const std::vector<std::string>& args) {
  if (path == kOpenCommand) return open(args);
  std::vector<std::string> argv{path};
  argv.insert(argv.end(), args.begin(), args.end());
  return waitFor(spawn(argv, nullptr, false));
}

bool LinuxProcessLauncher::start(const std::string& path, const std::vector<std::string>& args) {
  if (path == kOpenCommand) return open(args) == 0;
  std::vector<std::string> argv{path};
  argv.insert(argv.end(), args.begin(), args.end());
  const int pid = spawn(argv, nullptr, false);
  if (pid <= 0) return false;
  // Reaped off the main thread, so no child is left behind as a zombie.
  g_child_watch_add(
      pid, [](GPid child, gint, gpointer) { g_spawn_close_pid(child); }, nullptr);
  return true;
}

std::optional<std::string> captureOutput(const std::vector<std::string>& argv) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  const int pid = spawn(argv, &actions, true);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string out;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(fds[0]);
  if (waitFor(pid) != 0) return std::nullopt;
  return out;
}

}  // namespace routelle
