// Cost of adding a domain rule to a large rule list, end to end (read, unarchive,
// edit, archive, atomic write of the preferences file) and piece by piece.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "HostSystem.h"
#include "settings/Keys.h"

namespace {

using namespace routelle;

class BenchWorld {
 public:
  explicit BenchWorld(std::int64_t rules) {
    std::string pattern = (std::filesystem::temp_directory_path() / "routelle-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    system_ = std::make_unique<HostSystem>(root_);
    list_ = ruleList(rules);
    system_->settings.setList(keys::domainRules, list_);
  }
  ~BenchWorld() {
    system_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  BenchWorld(const BenchWorld&) = delete;
  BenchWorld& operator=(const BenchWorld&) = delete;

  HostSystem& system() { return *system_; }
  const std::vector<std::string>& list() const { return list_; }

  static std::vector<std::string> ruleList(std::int64_t rules) {
    std::vector<std::string> list{""};
    for (std::int64_t i = 0; i < rules; ++i) {
      list.push_back("site" + std::to_string(i) + ".example.com");
      list.push_back(i % 2 ? "Firefox" : "Google Chrome");
    }
    return list;
  }

 private:
  std::filesystem::path root_;
  std::unique_ptr<HostSystem> system_;
  std::vector<std::string> list_;
};

void setItems(benchmark::State& state) {
  state.SetComplexityN(state.range(0));
  state.counters["rules"] = static_cast<double>(state.range(0));
}

// Re-adding a domain from the middle of the list moves it to the end, so the
// list keeps its size and every call scans and rewrites all of it.
void BM_AddDomainRule(benchmark::State& state) {
  BenchWorld world(state.range(0));
  const std::string domain = "site" + std::to_string(state.range(0) / 2) + ".example.com";
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    if (!world.system().rules.addDomainRule(domain, flip ? "Safari" : "Firefox")) state.SkipWithError("refused");
  }
  setItems(state);
}

void BM_ReadList(benchmark::State& state) {
  BenchWorld world(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(world.system().settings.getList(keys::domainRules));
  setItems(state);
}

void BM_Archive(benchmark::State& state) {
  BenchWorld world(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(world.system().archiver.archive(world.list()));
  setItems(state);
}

void BM_Unarchive(benchmark::State& state) {
  BenchWorld world(state.range(0));
  const Bytes bytes = world.system().archiver.archive(world.list());
  for (auto _ : state) benchmark::DoNotOptimize(world.system().archiver.unarchive(bytes));
  setItems(state);
}

// Setting the archived bytes and flushing them: the atomic file write.
void BM_WriteDefaults(benchmark::State& state) {
  BenchWorld world(state.range(0));
  Bytes bytes = world.system().archiver.archive(world.list());
  for (auto _ : state) {
    bytes.back() ^= 1;  // a different value each time, so nothing can skip the write
    world.system().standard.set(keys::domainRules, bytes);
    if (!world.system().standard.synchronize()) state.SkipWithError("write failed");
  }
  setItems(state);
}

void BM_NormaliseDomain(benchmark::State& state) {
  BenchWorld world(0);
  for (auto _ : state)
    benchmark::DoNotOptimize(world.system().rules.normaliseDomain("https://www.example.com/path?q=1"));
}

#define RULE_SIZES ->Arg(1000)->Arg(10000)->Arg(40000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_AddDomainRule) RULE_SIZES;
BENCHMARK(BM_ReadList) RULE_SIZES;
BENCHMARK(BM_Archive) RULE_SIZES;
BENCHMARK(BM_Unarchive) RULE_SIZES;
BENCHMARK(BM_WriteDefaults) RULE_SIZES;
BENCHMARK(BM_NormaliseDomain)->Unit(benchmark::kMicrosecond);

}  // namespace
