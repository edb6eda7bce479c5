// Rebuilding the status menu with many browsers and rules.
#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "platform/host/BrowserTabs.h"
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
  auto& workspace = w.app->system.workspace;
  workspace.setFrontmostApplication(workspace.runningApplicationNamed("Safari"));
  BrowserTabs(w.app->system.world).setWindow("Safari", {{"https://example.com/a/captured/tab/with/a/long/path"}, 0});
  auto& menu = w.app->delegate.statusMenu();
  w.app->delegate.tabCapture().captureFrontTabURL();
  menu.fetchMenu();
  for (auto _ : state) {
    menu.fetchMenu();
    benchmark::DoNotOptimize(menu.menu().items.size());
  }
  const MenuItem* domainsEntry = menu.menu().find("Per Domain");
  if (!domainsEntry || domainsEntry->openSubmenu()->items.size() != 1005 || !menu.menu().find("Safari  ✓") ||
      menu.menu().items[0].action != "linkUrl:")
    state.SkipWithError("menu incomplete");
}
BENCHMARK(BM_FetchMenu)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The rule lists are made when they open: opening "Per Domain" at 1,000 rules.
void BM_OpenPerDomainList(benchmark::State& state) {
  bench::BenchWorld w;
  w.install("Safari", "com.apple.Safari");
  w.install("Firefox", "org.mozilla.firefox");
  w.storeRules(1000, 200);
  auto& menu = w.app->delegate.statusMenu();
  menu.fetchMenu();
  const MenuItem* domainsEntry = menu.menu().find("Per Domain");
  if (!domainsEntry) {
    state.SkipWithError("no Per Domain entry");
    return;
  }
  std::size_t entries = 0;
  for (auto _ : state) {
    entries = domainsEntry->openSubmenu()->items.size();
    benchmark::DoNotOptimize(entries);
  }
  if (entries != 1005) state.SkipWithError("list incomplete");
}
BENCHMARK(BM_OpenPerDomainList)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace routelle
