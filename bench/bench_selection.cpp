// The selection assistant's cost per global event: its monitors see every mouse and
// key event of the whole system, so an event must cost next to nothing while the
// assistant is off, and a check with a long selection must stay well within a frame.
//
// Each benchmark runs twice: with the world's preferences file, whose every read
// asks the file system whether another process changed it, and with the standard
// domain in memory, as the platform's defaults keep it, which leaves the program's
// own cost.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "BenchWorld.h"
#include "platform/host/MemoryDefaults.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

enum class Storage { worldFile, memory };

// The program started with its own delegate over the chosen settings, trusted, two browsers.
struct SelectionWorld : bench::BenchWorld {
  explicit SelectionWorld(Storage storage)
      : settings(storage == Storage::memory ? memorySettings : app->system.settings) {
    install("Safari", "com.apple.Safari");
    install("Firefox", "org.mozilla.firefox");
    app->accessibility.setTrusted(true);
    delegate = std::make_unique<AppDelegate>(app->services(settings, app->system.processes));
    delegate->awakeFromNib();
    delegate->applicationWillFinishLaunching();
    delegate->applicationDidFinishLaunching();
    app->runLoop.advance(1);
  }

  MemoryDefaults memory;
  SettingsStore memorySettings{memory, nullptr, nullptr, app->system.archiver};
  SettingsStore& settings;
  std::unique_ptr<AppDelegate> delegate;
};

constexpr EventType kEvents[] = {EventType::leftMouseUp, EventType::keyDown, EventType::leftMouseDragged};

// One event of another application with the assistant off; the hide check included.
void BM_EventWhileOff(benchmark::State& state, Storage storage) {
  SelectionWorld w(storage);
  w.settings.setBool(keys::selectionAssistant, false);
  const EventType type = kEvents[state.range(0)];
  std::int64_t sinceAdvance = 0;
  for (auto _ : state) {
    w.app->events.deliver(type);
    // Each drag leaves a check for later: let them run now and then, off the clock.
    if (++sinceAdvance == 4096) {
      state.PauseTiming();
      w.app->runLoop.advance(2.0);
      sinceAdvance = 0;
      state.ResumeTiming();
    }
  }
  if (w.app->presenter.floatingWindowVisible()) state.SkipWithError("the window showed while off");
}
BENCHMARK_CAPTURE(BM_EventWhileOff, worldFile, Storage::worldFile)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_EventWhileOff, memory, Storage::memory)->DenseRange(0, 2)->Unit(benchmark::kNanosecond);

std::string prose(std::size_t characters) {
  const std::string sentence = "Version 1.2.3 of file.txt, e.g. the notes: nothing here is a link at all! ";
  std::string text;
  while (text.size() < characters) text += sentence;
  text.resize(characters);
  return text;
}

// A release over a 10,000-character selection: hide, check, read, detect, and the
// panel (no link) or the browsers window (a link at the very end) built and shown.
void BM_CheckLongSelection(benchmark::State& state, Storage storage) {
  SelectionWorld w(storage);
  w.settings.setBool(keys::selectionAssistant, true);
  const bool withLink = state.range(0) == 1;
  const std::string link = " https://www.example.com/a/path?q=1";
  const std::string selected = withLink ? prose(10000 - link.size()) + link : prose(10000);
  w.app->accessibility.focusElementSelecting(selected);
  for (auto _ : state) {
    w.app->events.deliver(EventType::leftMouseUp);
    if (w.app->transcript.lines.size() > 100000) w.app->transcript.lines.clear();
  }
  const auto& window = w.app->presenter.window();
  const bool panel = window && !window->content.subviews.empty() && window->content.subviews[0].text == "Search";
  if (!w.app->presenter.floatingWindowVisible() || panel == withLink) state.SkipWithError("not what was shown");
}
BENCHMARK_CAPTURE(BM_CheckLongSelection, worldFile, Storage::worldFile)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CheckLongSelection, memory, Storage::memory)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace routelle
