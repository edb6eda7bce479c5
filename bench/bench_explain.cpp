// Domain rules for whole sites and paths, explaining a link, and the first link
// after a rule changed, at realistic and at large sizes.
#include <benchmark/benchmark.h>

#include "BenchWorld.h"
#include "routing/RuleIndex.h"

namespace routelle {
namespace {

struct RuleWorld : bench::BenchWorld {
  RuleWorld() : delegate(std::make_unique<AppDelegate>(app->services(app->system.settings, launcher))) {
    // The browsers the rules name are installed, as on a user's machine.
    install("Safari", "com.apple.Safari");
    install("Firefox", "org.mozilla.firefox");
    app->system.settings.setString("login", "Safari");
  }

  // `exact` hosts site<i>.example.com, `sites` whole sites *.zone<i>.example.net and
  // `paths` path rules docs<i>.example.org/guide/<i>/.
  void storeDomainRules(int exact, int sites, int paths) {
    std::vector<std::string> domains{""};
    auto add = [&](std::string rule, int i) {
      domains.push_back(std::move(rule));
      domains.push_back(i % 2 ? "Firefox" : "Safari");
    };
    for (int i = 0; i < exact; ++i) add("site" + std::to_string(i) + ".example.com", i);
    for (int i = 0; i < sites; ++i) add("*.zone" + std::to_string(i) + ".example.net", i);
    for (int i = 0; i < paths; ++i)
      add("docs" + std::to_string(i) + ".example.org/guide/" + std::to_string(i) + "/", i);
    app->system.settings.setList("domains", domains);
  }

  bench::CountingLauncher launcher;
  std::unique_ptr<AppDelegate> delegate;
};

// The links each benchmark cycles through: an exact host, a whole site at depth, a path.
const std::vector<std::string> kLinks{
    "https://site7777.example.com/page?q=1",
    "https://a.b.zone777.example.net/x",
    "https://docs777.example.org/guide/777/install",
};

void BM_RouteLinkSitesAndPaths(benchmark::State& state) {
  RuleWorld w;
  w.storeDomainRules(10000, 1000, 1000);
  std::size_t i = 0;
  for (auto _ : state) {
    w.delegate->linkRequest().setCurrentLink(kLinks[i++ % kLinks.size()]);
    w.delegate->router().routeLink();
  }
  if (w.launcher.runs != static_cast<long>(state.iterations())) state.SkipWithError("link not launched");
}
BENCHMARK(BM_RouteLinkSitesAndPaths)->Repetitions(5)->ReportAggregatesOnly(true);

// The lookup alone: host labels and path segments against the indexes.
void BM_DomainRuleLookup(benchmark::State& state) {
  RuleWorld w;
  w.storeDomainRules(10000, 1000, 1000);
  const auto domains = w.app->system.settings.sharedList("domains");
  DomainRuleIndex index;
  const std::vector<std::pair<std::string, std::string>> addresses{{"site7777.example.com", "/page"},
                                                                   {"a.b.zone777.example.net", "/x"},
                                                                   {"docs777.example.org", "/guide/777/install"}};
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [host, path] = addresses[i++ % addresses.size()];
    benchmark::DoNotOptimize(index.browserFor(domains, host, path));
  }
}
BENCHMARK(BM_DomainRuleLookup)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ExplainLink(benchmark::State& state) {
  RuleWorld w;
  w.storeDomainRules(10000, 1000, 1000);
  LinkMoment moment;
  moment.running.emplace();
  std::size_t i = 0;
  for (auto _ : state) {
    auto decision = w.delegate->linkIntake().explainLink(kLinks[i++ % kLinks.size()], moment);
    benchmark::DoNotOptimize(decision.summary.data());
  }
}
BENCHMARK(BM_ExplainLink)->Repetitions(5)->ReportAggregatesOnly(true);

// A command changes one rule; the first link after it pays for reading the new
// list and indexing it. The change itself is not timed.
void BM_FirstLinkAfterRuleChange(benchmark::State& state) {
  RuleWorld w;
  const int rules = static_cast<int>(state.range(0));
  w.storeDomainRules(rules, 0, 0);
  auto& store = w.app->system.rules;
  w.delegate->linkRequest().setCurrentLink("https://site7.example.com/");
  w.delegate->router().routeLink();
  int changed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++changed;
    store.addDomainRule("site" + std::to_string(changed % rules) + ".example.com", changed % 2 ? "Firefox" : "Safari");
    state.ResumeTiming();
    w.delegate->router().routeLink();
  }
}
BENCHMARK(BM_FirstLinkAfterRuleChange)
    ->Arg(10000)
    ->Arg(100000)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace routelle

namespace routelle {
namespace {

// Indexing a list anew, alone: what a changed list costs the first link after it.
void BM_DomainRuleIndexing(benchmark::State& state) {
  std::vector<std::string> texts{""};
  for (int i = 0; i < state.range(0); ++i) {
    texts.push_back("site" + std::to_string(i) + ".example.com");
    texts.push_back(i % 2 ? "Firefox" : "Safari");
  }
  const auto list = StoredListView::holding(std::move(texts));
  DomainRuleIndex index;
  for (auto _ : state) {
    state.PauseTiming();
    auto copy = std::make_shared<const StoredListView>(*list);
    state.ResumeTiming();
    benchmark::DoNotOptimize(index.browserFor(copy, "site7.example.com"));
  }
}
BENCHMARK(BM_DomainRuleIndexing)
    ->Arg(10000)
    ->Arg(100000)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace routelle
