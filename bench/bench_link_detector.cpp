// Link detection over a 10,000-character selection, as the selection check runs it
// on every mouse release.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/host/HostLinkDetector.h"

namespace routelle {
namespace {

constexpr std::size_t kCharacters = 10000;

// Prose with numbers, abbreviations and file names: everything that looks a little
// like a link without being one.
std::string prose(std::size_t characters) {
  const std::string sentence = "Version 1.2.3 of file.txt, e.g. the notes: nothing here is a link at all! ";
  std::string text;
  while (text.size() < characters) text += sentence;
  text.resize(characters);
  return text;
}

void detect(benchmark::State& state, const std::string& text, std::size_t expected) {
  const HostLinkDetector detector;
  std::size_t found = 0;
  for (auto _ : state) {
    const auto links = detector.findLinks(text);
    found = links.size();
    benchmark::DoNotOptimize(links.data());
  }
  if (found != expected) state.SkipWithError("unexpected number of links");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_NoLink(benchmark::State& state) { detect(state, prose(kCharacters), 0); }

void BM_LinkAtEnd(benchmark::State& state) {
  const std::string link = " https://www.example.com/a/path?q=1";
  detect(state, prose(kCharacters - link.size()) + link, 1);
}

void BM_LinkAtStart(benchmark::State& state) {
  const std::string link = "https://www.example.com/a/path?q=1 ";
  detect(state, link + prose(kCharacters - link.size()), 1);
}

BENCHMARK(BM_NoLink)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LinkAtEnd)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LinkAtStart)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace routelle
