#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/host/BrowserTabs.h"
#include "routing/BrowserScripts.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

class TabWatcherTest : public test::AppTest {
 protected:
  void SetUp() override {
    installCommonApps();
    app.system.rules.addDomainRule("example.org", "Firefox");
    app.system.rules.addDomainRule("www.www-rule.example", "Google Chrome");
    setRunning({"Safari", "Firefox"});
  }
  // One pass with Safari showing the tabs; answers the tabs left in Safari.
  std::vector<std::string> passOver(const std::vector<std::string>& safariTabs) {
    BrowserTabs tabs(app.system.world);
    tabs.setWindow("Safari", {safariTabs, 0});
    delegate().tabWatcher().scanBrowserTabs();
    auto left = tabs.window("Safari");
    return left ? left->tabs : std::vector<std::string>{};
  }
};

// The exact text of each moved tab reaches the rule's browser, and only the
// moved tab is closed, whatever the address holds.
TEST_F(TabWatcherTest, HostileAddressesMoveExactlyTheirTab) {
  const std::vector<std::string> hostile{
      "https://example.org/\"; tell application \"Finder\" to quit; \"", "https://example.org/back\\slash\\\"",
      "https://example.org/line\nbreak\rand\ttab", "https://example.org/Grüße/日本", "https://WWW.Example.ORG/caps"};
  std::vector<std::string> tabs = hostile;
  tabs.push_back("https://unruled.example/");
  EXPECT_THAT(passOver(tabs), ElementsAre("https://unruled.example/"));
  std::vector<std::string> expected;
  for (const auto& url : hostile) expected.push_back(test::openRun({"-a", "/Applications/Firefox.app", url}));
  EXPECT_THAT(runsSince(), UnorderedElementsAreArray(expected));
  EXPECT_THAT(transcript(), ::testing::Not(::testing::Contains(::testing::HasSubstr("AppleScript error"))));
}

TEST_F(TabWatcherTest, WhatIsNoTabOfAnotherBrowserStays) {
  // A "www." rule catches the bare host; a tab already in its rule's browser stays;
  // non-web tabs and hostless addresses are left alone.
  EXPECT_THAT(passOver({"https://www-rule.example/a"}), IsEmpty());
  BrowserTabs(app.system.world).setWindow("Firefox", {{"https://example.org/here"}, 0});
  EXPECT_THAT(passOver({"about:blank", "file:///etc/hosts", "http://", "https:///nohost"}),
              ElementsAre("about:blank", "file:///etc/hosts", "http://", "https:///nohost"));
  EXPECT_THAT(launches(), ElementsAre("Google Chrome https://www-rule.example/a"));
  EXPECT_THAT(BrowserTabs(app.system.world).window("Firefox")->tabs, ElementsAre("https://example.org/here"));
}

TEST_F(TabWatcherTest, BrowsersThatAnswerNothingAndUnreadableRules) {
  // No window (the script fails), an empty window, an unscripted browser.
  install("Brave Browser", "com.brave.Browser");
  setRunning({"Safari", "Firefox", "Brave Browser"});
  BrowserTabs(app.system.world).setWindow("Brave Browser", {{"https://example.org/brave"}, 0});
  delegate().tabWatcher().scanBrowserTabs();
  // Rules that cannot be read move nothing and are not rewritten.
  settings().setObject(keys::domains, Bytes{1, 2, 3});
  EXPECT_THAT(passOver({"https://example.org/x"}), ElementsAre("https://example.org/x"));
  EXPECT_EQ(settings().getObject(keys::domains), DefaultsValue(Bytes{1, 2, 3}));
  EXPECT_THAT(launches(), IsEmpty());
}

TEST_F(TabWatcherTest, StartsAndStopsWithItsToggle) {
  EXPECT_FALSE(delegate().tabWatcher().isRunning());
  ASSERT_TRUE(delegate().perform("expiActive", MenuItem{}));
  EXPECT_THAT(app.runLoop.repeatingQueues(), ElementsAre("com.kestrova.rtl"));
  BrowserTabs(app.system.world).setWindow("Safari", {{"https://example.org/timer"}, 0});
  app.runLoop.advance(5);
  EXPECT_THAT(launches(), ElementsAre("Firefox https://example.org/timer"));
  ASSERT_TRUE(delegate().perform("expiActive", MenuItem{}));
  EXPECT_THAT(app.runLoop.repeatingQueues(), IsEmpty());
  EXPECT_EQ(settings().getBool(keys::experimental2), false);
}

}  // namespace
}  // namespace routelle
