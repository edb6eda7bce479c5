// One pass of the tab watcher: 5 running scripted browsers with 50 tabs each,
// 10,000 domain rules, the browsers' answers held in memory.
#include <benchmark/benchmark.h>

#include <map>

#include "BenchWorld.h"
#include "routing/TabWatcher.h"
#include "settings/BrowserProfiles.h"

namespace routelle {
namespace {

constexpr int kTabs = 50;
const char* const kBrowsers[] = {"Safari", "Firefox", "Google Chrome", "Opera", "Chromium"};

// Answers the all-tabs script of each browser from memory; closes nothing.
class TabsInMemory final : public ScriptRunner {
 public:
  ScriptOutcome run(const std::string& source) override {
    for (const auto& [browser, tabs] : answers)
      if (source.starts_with("tell application \"" + browser + "\"")) return {true, tabs, ""};
    return {true, "", ""};
  }
  void determinePermissionToAutomate(const std::string&) override {}
  std::map<std::string, std::string> answers;
};

// A tab the watcher cannot move stays where it is: nothing is offered.
class NoChooser final : public BrowserChooser {
 public:
  void showBrowsersList() override {}
  void popUpBrowsersMenu() override {}
  void showFloatingBrowsersWindow() override {}
  void buildBrowsersListMenu() override {}
};

void BM_TabWatcherPass(benchmark::State& state) {
  bench::BenchWorld w;
  auto& app = *w.app;
  std::vector<RunningApplication> running;
  TabsInMemory scripts;
  for (const char* browser : kBrowsers) {
    w.install(browser, std::string("com.example.") + browser);
    running.push_back(app.system.workspace.runningApplicationNamed(browser));
    // Tabs on ruled hosts whose rule names this very browser (Safari's and
    // Firefox's), and unruled ones: the pass reads and matches every tab and moves
    // none, so what is measured is the pass itself, not starting browsers.
    const std::string browserName = browser;
    const std::string ruled = browserName == "Safari" ? "site0" : browserName == "Firefox" ? "site1" : "";
    std::string tabs;
    for (int i = 0; i < kTabs; ++i)
      tabs += i % 2 || ruled.empty() ? "https://unruled" + std::to_string(i) + ".example/page?q=" + std::to_string(i)
                                     : "https://www." + ruled + ".example.com/p" + std::to_string(i);
    scripts.answers[browser] = tabs;
  }
  app.system.workspace.setRunningApplications(running);
  w.storeRules(10000, 0);  // site<i>.example.com: even i Safari, odd i Firefox
  bench::CountingLauncher processes;
  LinkRequest request;
  Trace trace;
  Menu statusMenu;
  NoChooser chooser;
  BrowserProfiles profiles{app.files};
  BrowserLauncher launcher({.settings = app.system.settings,
                            .registry = app.system.registry,
                            .request = request,
                            .presenter = app.presenter,
                            .statusMenu = statusMenu,
                            .urls = app.system.urls,
                            .workspace = app.system.workspace,
                            .processes = processes,
                            .scripts = scripts,
                            .runLoop = app.runLoop,
                            .trace = trace,
                            .chooser = chooser,
                            .profiles = profiles});
  TabWatcher watcher({.settings = app.system.settings,
                      .workspace = app.system.workspace,
                      .scripts = scripts,
                      .urls = app.system.urls,
                      .launcher = launcher,
                      .runLoop = app.runLoop,
                      .trace = trace});
  for (auto _ : state) watcher.scanBrowserTabs();
  if (processes.runs != 0) state.SkipWithError("a tab moved");
  state.counters["tabs"] = static_cast<double>(kTabs * std::size(kBrowsers));
}
BENCHMARK(BM_TabWatcherPass)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace routelle
