#include "platform/linux/ProcessTree.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace routelle::linux_desktop {
namespace {

namespace fs = std::filesystem;

std::string readWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The parent's pid from /proc/PID/stat: the field after the command's closing
// parenthesis (the command itself may hold blanks and parentheses).
int parentOf(const std::string& stat) {
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(stat.substr(close + 1));
  std::string state;
  int parent = 0;
  fields >> state >> parent;
  return parent;
}

std::string resolved(const std::string& path) {
  std::error_code error;
  auto canonical = fs::canonical(path, error);
  return error ? std::string() : canonical.string();
}

}  // namespace

std::optional<ProcessInfo> readProcess(int pid) {
  if (pid <= 0) return std::nullopt;
  const fs::path dir = fs::path("/proc") / std::to_string(pid);
  const std::string stat = readWhole(dir / "stat");
  if (stat.empty()) return std::nullopt;
  ProcessInfo process;
  process.pid = pid;
  process.parent = parentOf(stat);
  std::error_code error;
  process.executable = fs::read_symlink(dir / "exe", error).string();
  const std::string cmdline = readWhole(dir / "cmdline");
  for (std::size_t start = 0; start < cmdline.size();) {
    const auto end = cmdline.find('\0', start);
    process.argv.push_back(cmdline.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return process;
}

std::vector<ProcessInfo> runningProcesses() {
  std::vector<ProcessInfo> out;
  std::error_code error;
  for (const auto& item : fs::directory_iterator("/proc", error)) {
    const std::string name = item.path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    if (auto process = readProcess(std::atoi(name.c_str()))) out.push_back(std::move(*process));
  }
  return out;
}

std::vector<std::string> programsOf(const ProcessInfo& process) {
  std::vector<std::string> programs{process.executable};
  for (std::size_t i = 0; i < std::min<std::size_t>(2, process.argv.size()); ++i)
    if (process.argv[i].find('/') != std::string::npos) programs.push_back(resolved(process.argv[i]));
  return programs;
}

bool runs(const ProcessInfo& process, const std::string& program) {
  if (program.empty()) return false;
  const auto programs = programsOf(process);
  return std::find(programs.begin(), programs.end(), program) != programs.end();
}

std::optional<DesktopEntry> sourceApplication(int pid) {
  std::vector<DesktopEntry> entries;
  for (auto& entry : DesktopEntries::all())
    if (entry.id != kOwnEntryId && !entry.program.empty()) entries.push_back(std::move(entry));
  // A bounded walk: a chain that loops (a pid reused meanwhile) still ends.
  for (int depth = 0; depth < 64 && pid > 1; ++depth) {
    const auto process = readProcess(pid);
    if (!process) return std::nullopt;
    const auto programs = programsOf(*process);
    for (const auto& entry : entries)
      if (std::find(programs.begin(), programs.end(), entry.program) != programs.end()) return entry;
    pid = process->parent;
  }
  return std::nullopt;
}

}  // namespace routelle::linux_desktop
