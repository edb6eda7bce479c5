// Cleaning one link with the shipped entries: a wrapped link with trackers, and
// the common case of a plain link that nothing changes.
#include <benchmark/benchmark.h>

#include "routing/LinkCleaner.h"

namespace routelle {
namespace {

const CleaningTables& shipped() {
  static const CleaningTables tables = [] {
    CleaningTables t;
    t.addLines(shippedLinkCleaning());
    return t;
  }();
  return tables;
}

void cleanOne(benchmark::State& state, const std::string& link) {
  const std::vector<const CleaningTables*> tables{&shipped()};
  for (auto _ : state) benchmark::DoNotOptimize(cleanLink(link, tables));
}

void BM_CleanWrappedTrackedLink(benchmark::State& state) {
  cleanOne(
      state,
      "https://eur02.safelinks.protection.outlook.com/?url=https%3A%2F%2Fexample.com%2Fnews%2F2026%2Fstory%3Fid%3D42"
      "%26utm_source%3Dnewsletter%26utm_medium%3Demail%26utm_campaign%3Dspring%26fbclid%3DIwAR0abc&data=05%7C01%7C"
      "user%40example.com%7Cabc&sdata=xyz%3D&reserved=0");
}
BENCHMARK(BM_CleanWrappedTrackedLink)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CleanPlainLink(benchmark::State& state) {
  cleanOne(state, "https://www.example.com/articles/2026/some-long-title?page=2&sort=date#comments");
}
BENCHMARK(BM_CleanPlainLink)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace routelle
