#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/host/HostListArchiver.h"

namespace {

// The shape of a large rule list: a leading empty string, then domain/browser pairs.
std::vector<std::string> domainRules(int rules) {
  std::vector<std::string> list{""};
  for (int i = 0; i < rules; ++i) {
    list.push_back("site" + std::to_string(i) + ".example.com");
    list.push_back("Firefox");
  }
  return list;
}

void BM_DecodeDomains10000(benchmark::State& state) {
  const routelle::HostListArchiver archiver;
  const routelle::Bytes data = archiver.archive(domainRules(10000));
  for (auto _ : state) {
    auto list = archiver.unarchive(data);
    if (!list || list->size() != 20001) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK(BM_DecodeDomains10000)->Unit(benchmark::kMillisecond);

void BM_EncodeDomains10000(benchmark::State& state) {
  const routelle::HostListArchiver archiver;
  const auto list = domainRules(10000);
  for (auto _ : state) {
    auto data = archiver.archive(list);
    benchmark::DoNotOptimize(data);
  }
}
BENCHMARK(BM_EncodeDomains10000)->Unit(benchmark::kMillisecond);

}  // namespace
