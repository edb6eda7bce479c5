// Rebuilding the status menu with many browsers and rules.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/host/AppInstaller.h"
#include "platform/host/HostApp.h"
#include "settings/KnownBrowsers.h"

namespace routelle {
namespace {

struct BenchWorld {
  BenchWorld() {
    std::string pattern = (std::filesystem::temp_directory_path() / "routelle-bench-XXXXXX").string();
    root = mkdtemp(pattern.data());
    app = std::make_unique<HostApp>(root);
  }
  ~BenchWorld() {
    app.reset();
    std::filesystem::remove_all(root);
  }

  void install(const std::string& name, const std::string& identifier) {
    AppSpec wanted;
    wanted.name = name;
    wanted.identifier = identifier;
    installApplication(app->system.world, wanted);
  }

  std::filesystem::path root;
  std::unique_ptr<HostApp> app;
};

void BM_FetchMenu(benchmark::State& state) {
  BenchWorld w;
  auto& settings = w.app->system.settings;
  for (const auto& known : knownBrowsers) w.install(std::string(known.name()), std::string(known.identifier));
  for (int i = 0; i < 5; ++i) {
    w.install("Added" + std::to_string(i), "com.example.added" + std::to_string(i));
    w.app->system.registry.addBrowserNamed("Added" + std::to_string(i));
  }
  std::vector<std::string> domains{""};
  for (int i = 0; i < 1000; ++i) {
    domains.push_back("site" + std::to_string(i) + ".example.com");
    domains.push_back(i % 3 ? "Firefox" : "Safari");
  }
  settings.setList("domains", domains);
  std::vector<std::string> perApp{""};
  for (int i = 0; i < 200; ++i) perApp.push_back("Safari/*/*/*/*/App" + std::to_string(i));
  settings.setList("perApp", perApp);
  settings.setString("onion", "TorBrowser");
  for (const char* key : {"shift", "ctrl", "alt", "command"}) settings.setString(key, "Firefox");
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
