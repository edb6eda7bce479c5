// One program run routing 1,000 links to a fake browser, against the same
// 1,000 open commands run directly: the program's own share of the time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HostSystem.h"
#include "platform/host/AppInstaller.h"
#include "platform/host/World.h"

extern char** environ;

namespace routelle {
namespace {

constexpr int kLinks = 1000;
const std::filesystem::path kDriver = ROUTELLE_DRIVER;

// What a finished child cost: its peak resident memory and its CPU time.
struct ChildCost {
  double maxResidentMiB = 0;
  double cpuMs = 0;
};

int runAndWait(std::vector<std::string> argv, const std::vector<std::string>& extraEnv = {},
               ChildCost* cost = nullptr) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> args, envp;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  struct rusage usage {};
  if (rc != 0 || wait4(pid, &status, 0, &usage) != pid) return -1;
  if (cost) {
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    cost->maxResidentMiB = usage.ru_maxrss / 1024.0;
    cost->cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The fake browsers are detached by the open command; wait for all of them.
void reapAll() {
  while (waitpid(-1, nullptr, 0) > 0) {
  }
}

struct Fixture {
  Fixture() {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::string pattern = (std::filesystem::temp_directory_path() / "routelle-bench-XXXXXX").string();
    root = mkdtemp(pattern.data());
    World world(root);
    AppSpec browser;
    browser.name = "Fake";
    browser.identifier = "com.example.fake";
    installApplication(world, browser);
    std::ofstream script(root / "links.txt");
    script << "# every link goes to the fake browser by its domain rule\n";
    for (int i = 0; i < kLinks; ++i) script << "open https://fake.example.com/page" << i << "\n";
    runAndWait({kDriver.string(), "--root", root.string(), "script", "AddDomainScriptCommand", "fake.example.com",
                "--FilePath", "Fake"});
  }
  ~Fixture() { std::filesystem::remove_all(root); }
  std::filesystem::path root;
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_ThousandLinksThroughTheProgram(benchmark::State& state) {
  auto& f = fixture();
  for (auto _ : state) {
    if (runAndWait({kDriver.string(), "--root", f.root.string(), "run", (f.root / "links.txt").string()}) != 0)
      state.SkipWithError("driver failed");
    reapAll();
  }
}
BENCHMARK(BM_ThousandLinksThroughTheProgram)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ThousandOpenCommandsDirectly(benchmark::State& state) {
  auto& f = fixture();
  const std::string open = (kDriver.parent_path() / "routelle-open").string();
  const std::string world = "ROUTELLE_WORLD=" + f.root.string();
  for (auto _ : state) {
    for (int i = 0; i < kLinks; ++i)
      runAndWait({open, "-a", "/Applications/Fake.app", "https://fake.example.com/page" + std::to_string(i)}, {world});
    reapAll();
  }
}
BENCHMARK(BM_ThousandOpenCommandsDirectly)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A whole program run that starts, rebuilds its menu over 10,000 domain and
// 1,000 per-application rules and prints it, as `/usr/bin/time -v routelle menu`
// would see it: the peak resident memory and CPU time of the run are counters.
void BM_MenuRunWithTenThousandRules(benchmark::State& state) {
  auto& f = fixture();
  static const bool seeded = [&] {
    HostSystem system(f.root);
    std::vector<std::string> domains{""};
    for (int i = 0; i < 10000; ++i) {
      domains.push_back("site" + std::to_string(i) + ".example.com");
      domains.push_back("Fake");
    }
    system.settings.setList("domains", domains);
    std::vector<std::string> perApp{""};
    for (int i = 0; i < 1000; ++i) perApp.push_back("Fake/*/*/*/*/App" + std::to_string(i));
    system.settings.setList("perApp", perApp);
    return true;
  }();
  (void)seeded;
  std::vector<double> resident, cpu;
  for (auto _ : state) {
    ChildCost cost;
    if (runAndWait({kDriver.string(), "--root", f.root.string(), "menu"}, {}, &cost) != 0)
      state.SkipWithError("driver failed");
    resident.push_back(cost.maxResidentMiB);
    cpu.push_back(cost.cpuMs);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
  };
  state.counters["max_rss_MiB"] = median(resident);
  state.counters["cpu_ms"] = median(cpu);
}
BENCHMARK(BM_MenuRunWithTenThousandRules)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

}  // namespace
}  // namespace routelle
