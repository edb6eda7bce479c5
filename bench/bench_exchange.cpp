// Rule exchange on a large rule set, as the program runs it: 10,000 domain
// rules and 1,000 per-application rules exported to the Downloads folder, and
// that file imported into an empty store and into a store that holds the same
// rules; and a very large set (265,613 rules, a file of about 17 MB) imported
// again once, with the resident memory before the import and its peak during it
// (Linux: the peak is reset once the world is made):
//   bench_exchange --benchmark_filter=BM_ReimportVeryLargeRuleFile
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "BenchWorld.h"
#include "exchange/RuleFileName.h"

namespace {

using namespace routelle;

constexpr int kDomainRules = 10000;
constexpr int kAppRules = 1000;
constexpr const char* kFolder = "/Users/user/Downloads";

struct ExchangeWorld : bench::BenchWorld {
  explicit ExchangeWorld(int domainRules = kDomainRules, int appRules = kAppRules) {
    install("Safari", "com.apple.Safari");
    install("Firefox", "org.mozilla.firefox");
    std::filesystem::create_directories(app->system.world.hostPath(kFolder));
    storeRules(domainRules, appRules);
  }
  RuleExchange& exchange() { return app->delegate.exchange(); }
  std::string exported() {
    if (!exchange().exportRules(kFolder)) return {};
    return std::string(kFolder) + "/" + ruleFileName(app->system.calendar.today());
  }
  void clearRules() {
    app->system.settings.remove("domains");
    app->system.settings.remove("perApp");
  }
};

void BM_ExportRules(benchmark::State& state) {
  ExchangeWorld world;
  for (auto _ : state)
    if (!world.exchange().exportRules(kFolder)) state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportRules)->Unit(benchmark::kMillisecond);

void BM_ImportIntoEmptyStore(benchmark::State& state) {
  ExchangeWorld world;
  const std::string file = world.exported();
  for (auto _ : state) {
    state.PauseTiming();
    world.clearRules();
    state.ResumeTiming();
    const ImportReport report = world.exchange().importRules(file);
    if (report.domainRules != kDomainRules || report.appRules != kAppRules) state.SkipWithError("import failed");
  }
}
BENCHMARK(BM_ImportIntoEmptyStore)->Unit(benchmark::kMillisecond);

void BM_ImportIntoTheSameRules(benchmark::State& state) {
  ExchangeWorld world;
  const std::string file = world.exported();
  for (auto _ : state) {
    const ImportReport report = world.exchange().importRules(file);
    if (report.domainRules != kDomainRules || report.appRules != kAppRules) state.SkipWithError("import failed");
  }
  if (world.app->system.rules.domainRules().size() != kDomainRules) state.SkipWithError("rules were lost");
}
BENCHMARK(BM_ImportIntoTheSameRules)->Unit(benchmark::kMillisecond);

// Resident memory in MiB from /proc/self/status: "VmRSS" now, "VmHWM" the peak.
double residentMiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(field + ":")) return std::stod(line.substr(field.size() + 1)) / 1024.0;
  return 0;
}

// From here on the peak counts only what follows.
void resetPeakResidentMemory() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// Every rule of the file replaces its stored twin and moves last.
void BM_ReimportVeryLargeRuleFile(benchmark::State& state) {
  constexpr int kManyDomainRules = 255613;
  constexpr int kManyAppRules = 10000;
  ExchangeWorld world(kManyDomainRules, kManyAppRules);
  const std::string file = world.exported();
  resetPeakResidentMemory();
  state.counters["rss_before_MiB"] = residentMiB("VmRSS");
  for (auto _ : state) {
    const ImportReport report = world.exchange().importRules(file);
    if (report.domainRules != kManyDomainRules || report.appRules != kManyAppRules)
      state.SkipWithError("import failed");
  }
  state.counters["rss_peak_MiB"] = residentMiB("VmHWM");
  if (world.app->system.rules.domainRules().size() != kManyDomainRules) state.SkipWithError("rules were lost");
}
BENCHMARK(BM_ReimportVeryLargeRuleFile)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
