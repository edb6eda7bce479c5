// The tab watcher runs its passes off the main thread while the main thread
// routes links, edits rules and rebuilds the menu: nothing they share may race,
// and what belongs to the main thread (the presenter, the main queue's timers)
// is reached from there alone: the host's end the program when called from
// another thread.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "platform/host/BrowserTabs.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

class TabWatcherThreadsTest : public test::AppTest {};

TEST_F(TabWatcherThreadsTest, PassesRaceWithNothingOnTheMainThread) {
  installCommonApps();
  app.system.rules.addDomainRule("example.org", "Firefox");
  // A browser that cannot be started: its tab stays, and nothing is offered from the watcher's thread.
  app.system.rules.addDomainRule("gone.example", "Vivaldi");
  settings().setString(keys::defaultChoice, "Safari");
  setRunning({"Safari", "Firefox", "Google Chrome"});
  BrowserTabs tabs(app.system.world);
  app.start();

  constexpr int kPasses = 8;
  std::thread watcher([&] {
    for (int i = 0; i < kPasses; ++i) {
      tabs.setWindow("Safari", {{"https://example.org/" + std::to_string(i), "https://gone.example/"}, 0});
      delegate().tabWatcher().scanBrowserTabs();
    }
  });
  for (int i = 0; i < kPasses; ++i) {
    // Not route(): the test reads the transcript only once the watcher is done.
    delegate().linkIntake().handleGetURLEvent("https://main.example/" + std::to_string(i));
    app.system.rules.addDomainRule("site" + std::to_string(i) + ".example", "Google Chrome");
    delegate().statusMenu().fetchMenu();
    delegate().perform("openBack", MenuItem{});
  }
  watcher.join();
  app.runLoop.advance(1);
  const auto safari = tabs.window("Safari");
  ASSERT_TRUE(safari.has_value());
  EXPECT_THAT(safari->tabs, ::testing::ElementsAre("https://gone.example/"));

  // Every tab the rules name moved to Firefox; every link opened in Safari.
  const auto launched = launches();
  EXPECT_EQ(std::count_if(launched.begin(), launched.end(),
                          [](const std::string& line) { return line.find("example.org/") != std::string::npos; }),
            kPasses);
  EXPECT_EQ(std::count_if(launched.begin(), launched.end(),
                          [](const std::string& line) { return line.find("main.example/") != std::string::npos; }),
            kPasses);
}

}  // namespace
}  // namespace routelle
