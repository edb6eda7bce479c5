// Rebuilding the status menu with many browsers and rules.
#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "settings/KnownBrowsers.h"

namespace routelle {
namespace {

void BM_FetchMenu(benchmark::State& state) {
  bench::BenchWorld w;
  auto& settings = w.app->system.settings;
  for (const auto& known : knownBrowsers) w.install(std::string(known.name()), std::string(known.identifier));
  for (int i = 0; i < 5; ++i) {
    w.install("Added" + std::to_string(i), "com.example.added" + std::to_string(i));
    w.app->system.registry.addBrowserNamed("Added" + std::to_string(i));
  }
  w.storeRules(1000, 200);
  settings.setString("login", "Safari");
  w.app->delegate.urls = "https://example.com/a/captured/tab/with/a/long/path";
  auto& delegate = w.app->delegate;
  delegate.fetchMenu();
  for (auto _ : state) {
    delegate.fetchMenu();
    benchmark::DoNotOptimize(delegate.menux.items.size());
  }
  const MenuItem* domainsEntry = delegate.menux.find("Per Domain");
  if (!domainsEntry || domainsEntry->submenu->items.size() != 1005 || !delegate.menux.find("Safari  ✓"))
    state.SkipWithError("menu incomplete");
}
BENCHMARK(BM_FetchMenu)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace routelle
