// Opening a rule dialog with 20 browsers and 300 applications in its pop-ups.
#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "editors/ApplicationList.h"
#include "editors/RuleDialog.h"
#include "settings/BrowserProfiles.h"
#include "settings/KnownBrowsers.h"

namespace routelle {
namespace {

// Answers every dialog at once with "Cancel"; draws nothing.
class QuietPresenter final : public Presenter {
 public:
  std::optional<MenuItem> popUpMenu(const Menu&, Point) override { return std::nullopt; }
  void showFloatingWindow(const WindowModel&, Point) override {}
  void orderOutFloatingWindow() override {}
  bool floatingWindowVisible() override { return false; }
  void cancelMenuTracking(const Menu&) override {}
  void activate(bool) override {}
  void showStatusItem(const StatusItemModel&, const Menu&) override {}
  void removeStatusItem() override {}
  int runModalAlert(AlertModel& alert) override {
    entries = 0;
    for (const auto& view : alert.accessory->subviews) entries += view.entries.size();
    return 1;
  }
  void pressAlertButton(std::size_t) override {}
  void beginOpenPanel(const OpenPanelModel&, std::function<void(std::optional<std::string>)>) override {}
  void showWindow(const std::string&, const WindowModel&) override {}
  void orderOutWindow(const std::string&) override {}
  std::size_t entries = 0;
};

struct DialogWorld : bench::BenchWorld {
  DialogWorld() {
    for (const auto& known : knownBrowsers) install(std::string(known.name()), std::string(known.identifier));
    for (int i = 0; i < 5; ++i) {
      install("Added" + std::to_string(i), "com.example.added" + std::to_string(i));
      app->system.registry.addBrowserNamed("Added" + std::to_string(i));
    }
    for (int i = static_cast<int>(knownBrowsers.size()) + 5; i < 300; ++i)
      install("Application" + std::to_string(i), "com.example.app" + std::to_string(i));
    app->system.settings.setString("command", "Added3");
    dialog.setApplications(localApplications(app->files, app->system.workspace));
  }
  QuietPresenter presenter;
  BrowserProfiles profiles{app->files};
  RuleDialog dialog{app->system.settings, app->system.workspace, presenter, app->application, app->runLoop, profiles};
};

void openDialog(benchmark::State& state, const std::string& title) {
  DialogWorld w;
  for (auto _ : state) {
    w.dialog.run(title, "Choose.", true);
    benchmark::DoNotOptimize(w.presenter.entries);
  }
  // 20 browsers, and the 300 applications (with "Choose another app") where the dialog shows them.
  const std::size_t expected = title == "Per App" ? 321 : title == "Domain" ? 20 : 23;
  if (w.presenter.entries != expected) state.SkipWithError("pop-ups incomplete");
}

void BM_OpenDomainDialog(benchmark::State& state) { openDialog(state, "Domain"); }
void BM_OpenPerAppDialog(benchmark::State& state) { openDialog(state, "Per App"); }
void BM_OpenModifierKeyDialog(benchmark::State& state) { openDialog(state, "Modifier key: Command"); }
BENCHMARK(BM_OpenDomainDialog)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenPerAppDialog)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenModifierKeyDialog)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The start-up listing of the Applications folder, with an icon lookup per entry.
void BM_ListApplications(benchmark::State& state) {
  DialogWorld w;
  for (auto _ : state) {
    auto entries = localApplications(w.app->files, w.app->system.workspace);
    benchmark::DoNotOptimize(entries.data());
    if (entries.size() != 300) state.SkipWithError("applications missing");
  }
}
BENCHMARK(BM_ListApplications)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace routelle
