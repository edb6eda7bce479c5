// Routing a link and building the chooser, in a world of realistic size.
#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "settings/KnownBrowsers.h"

namespace routelle {
namespace {

// The program with the counting launcher in place of the world's processes.
struct LinkWorld : bench::BenchWorld {
  LinkWorld() : delegate(std::make_unique<AppDelegate>(app->services(app->system.settings, launcher))) {}
  bench::CountingLauncher launcher;
  std::unique_ptr<AppDelegate> delegate;
};

void BM_RouteLink(benchmark::State& state) {
  LinkWorld w;
  auto& settings = w.app->system.settings;
  // The browsers the rules name are installed, so that the launcher's check
  // that a browser is not the program itself finds each of them.
  w.install("Safari", "com.apple.Safari");
  w.install("Firefox", "org.mozilla.firefox");
  w.install("TorBrowser", "org.torproject.torbrowser");
  w.storeRules(10000, 1000);
  settings.setString("priority", "1");
  settings.setString("login", "Safari");
  // Per-application rules first, none matching, then the last domain rule.
  w.delegate->linkRequest().setPreviousApplication(RunningApplication{"Unruled", std::nullopt, ""});
  w.delegate->linkRequest().setCurrentLink("https://site9999.example.com/page?q=1");
  for (auto _ : state) {
    w.delegate->router().routeLink();
  }
  if (w.launcher.runs != static_cast<long>(state.iterations())) state.SkipWithError("link not launched");
}
BENCHMARK(BM_RouteLink)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_BuildBrowsersListMenu(benchmark::State& state) {
  LinkWorld w;
  for (const auto& known : knownBrowsers) w.install(std::string(known.name()), std::string(known.identifier));
  for (int i = 0; i < 5; ++i) {
    w.install("Added" + std::to_string(i), "com.example.added" + std::to_string(i));
    w.app->system.registry.addBrowserNamed("Added" + std::to_string(i));
  }
  w.app->system.settings.setBool("hideExit", false);
  w.app->system.settings.setBool("hideUrl", false);
  w.delegate->linkRequest().setCurrentLink(
      "https://example.com/a/rather/long/link/that/takes/more/than/ninety/characters/to/write/out");
  auto& chooser = w.delegate->chooser();
  for (auto _ : state) {
    chooser.buildBrowsersListMenu();
    benchmark::DoNotOptimize(chooser.menu().items.size());
  }
  // 20 browsers, Close and the URL row.
  if (chooser.menu().items.size() != 22) state.SkipWithError("expected 20 browsers, Close and the URL");
}
BENCHMARK(BM_BuildBrowsersListMenu)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace routelle
