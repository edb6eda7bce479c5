#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/DesktopEntries.h"

namespace routelle::linux_desktop {

// A process as /proc shows it.
struct ProcessInfo {
  int pid = 0;
  int parent = 0;
  std::string executable;         // /proc/PID/exe, resolved
  std::vector<std::string> argv;  // /proc/PID/cmdline
};

std::optional<ProcessInfo> readProcess(int pid);
std::vector<ProcessInfo> runningProcesses();
// The programs a process may be running: its executable, and its first two
// arguments resolved as paths (an interpreter runs a script named by the second).
std::vector<std::string> programsOf(const ProcessInfo& process);
bool runs(const ProcessInfo& process, const std::string& program);

// The application that asked for a link: the nearest process, from `pid` up its
// parent chain, whose program is that of a desktop entry other than the
// program's own (xdg-open, gio and shells have none, so they are passed over).
std::optional<DesktopEntry> sourceApplication(int pid);

}  // namespace routelle::linux_desktop
