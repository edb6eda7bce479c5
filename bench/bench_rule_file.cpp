// The rule file codec on a large rule set: 10,000 domain rules and 1,000
// per-application rules, written, then read from memory and from disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exchange/RuleFileReader.h"
#include "exchange/RuleFileWriter.h"
#include "platform/host/HostFileManager.h"

namespace {

using namespace routelle;

constexpr std::size_t kDomainRules = 10000;
constexpr std::size_t kAppRules = 1000;

std::vector<DomainRule> domainRules() {
  const char* browsers[] = {"Safari", "Firefox", "Google Chrome", "Microsoft Edge"};
  std::vector<DomainRule> rules;
  for (std::size_t i = 0; i < kDomainRules; ++i)
    rules.push_back({"www.site" + std::to_string(i) + ".example.com", browsers[i % 4]});
  return rules;
}

std::vector<AppRule> appRules() {
  std::vector<AppRule> rules;
  for (std::size_t i = 0; i < kAppRules; ++i) rules.push_back({"Firefox", "Application " + std::to_string(i)});
  return rules;
}

std::string document() { return writeRuleFile(domainRules(), appRules())->document; }

// Counts what is reported, as a caller writing each rule through would see it.
struct Counter {
  std::size_t rules = 0;
  RuleFileHandlers handlers() {
    return {[this](std::string_view, std::string_view) { ++rules; },
            [this](std::string_view, std::string_view) { ++rules; },
            {}};
  }
};

void BM_WriteRuleFile(benchmark::State& state) {
  const auto domains = domainRules();
  const auto apps = appRules();
  for (auto _ : state) {
    auto text = writeRuleFile(domains, apps);
    if (!text) state.SkipWithError("write failed");
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document().size()));
}
BENCHMARK(BM_WriteRuleFile)->Unit(benchmark::kMillisecond);

void BM_ReadRuleFile(benchmark::State& state) {
  const std::string text = document();
  for (auto _ : state) {
    Counter counter;
    if (readRuleFile(text, counter.handlers()).end != RuleFileEnd::complete ||
        counter.rules != kDomainRules + kAppRules)
      state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadRuleFile)->Unit(benchmark::kMillisecond);

void BM_ReadRuleFileFromDisk(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "routelle-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  const std::filesystem::path file = std::filesystem::path(pattern) / "rules.xml";
  const std::string text = document();
  std::ofstream(file, std::ios::binary) << text;
  const World world(pattern);
  HostFileManager files(world);
  for (auto _ : state) {
    Counter counter;
    const FileContents contents = files.readFile("/rules.xml", kRuleFileMaxBytes);
    if (readRuleFile(contents.bytes, counter.handlers()).end != RuleFileEnd::complete ||
        counter.rules != kDomainRules + kAppRules)
      state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_ReadRuleFileFromDisk)->Unit(benchmark::kMillisecond);

}  // namespace
