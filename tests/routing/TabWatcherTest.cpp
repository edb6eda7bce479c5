#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/host/BrowserTabs.h"
#include "routing/BrowserScripts.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;
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
    return tabsOf("Safari");
  }
  // The tabs of the browser's window 1; none without a window.
  std::vector<std::string> tabsOf(const std::string& browser) {
    auto window = BrowserTabs(app.system.world).window(browser);
    return window ? window->tabs : std::vector<std::string>{};
  }
};

// The exact text of each moved tab reaches the rule's browser, and only the
// moved tab is closed, whatever the address holds.
TEST_F(TabWatcherTest, HostileAddressesMoveExactlyTheirTab) {
  const std::vector<std::string> hostile{"https://example.org/\"; tell application \"Finder\" to quit; \"",
                                         "https://example.org/back\\slash\\\"",
                                         "https://example.org/?next=http://b.example/https://c.example",
                                         "https://example.org/Grüße/日本", "https://WWW.Example.ORG/caps"};
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
  EXPECT_THAT(tabsOf("Firefox"), ElementsAre("https://example.org/here"));
}

TEST_F(TabWatcherTest, BrowsersThatAnswerNothingAndUnreadableRules) {
  // No window (the script fails), an empty window, an unscripted browser.
  install("Brave Browser", "com.brave.Browser");
  setRunning({"Safari", "Firefox", "Brave Browser"});
  BrowserTabs(app.system.world).setWindow("Brave Browser", {{"https://example.org/brave"}, 0});
  delegate().tabWatcher().scanBrowserTabs();
  // Rules that cannot be read move nothing and are not rewritten.
  settings().setObject(keys::domainRules, Bytes{1, 2, 3});
  EXPECT_THAT(passOver({"https://example.org/x"}), ElementsAre("https://example.org/x"));
  EXPECT_EQ(settings().getObject(keys::domainRules), DefaultsValue(Bytes{1, 2, 3}));
  EXPECT_THAT(launches(), IsEmpty());
}

// Each tab is read whole: an address inside another never becomes a tab of its
// own, a non-web tab is never glued to its neighbour, and what moved once is
// not found again.
TEST_F(TabWatcherTest, EveryTabIsReadWhole) {
  for (const char* domain : {"a.example", "victim.example", "httpbin.org"})
    app.system.rules.addDomainRule(domain, "Firefox");
  EXPECT_THAT(
      passOver({"https://a.example/?next=http://b.example",
                "https://search.example/?q=https://victim.example/secret-token", "https://httpbin.org/get",
                "https://www.example.org/x", "about:blank", "HTTP://example.org/upper", "https:no-slashes"}),
      ElementsAre("https://search.example/?q=https://victim.example/secret-token", "about:blank", "https:no-slashes"));
  delegate().tabWatcher().scanBrowserTabs();
  EXPECT_THAT(launches(), UnorderedElementsAre("Firefox https://a.example/?next=http://b.example",
                                               "Firefox https://httpbin.org/get", "Firefox https://www.example.org/x",
                                               "Firefox HTTP://example.org/upper"));
}

// However a rule spells the scanned browser, the tab is already where it belongs:
// neither closed nor opened again.
TEST_F(TabWatcherTest, ARuleNamingTheBrowserInAnotherSpellingLeavesItsTab) {
  install("SRWare Iron", "org.srware.iron");
  setRunning({"Safari", "SRWare Iron"});
  BrowserTabs(app.system.world).setWindow("SRWare Iron", {{"https://iron.example/"}, 0});
  for (const std::string spelling : {"safari", "Safari.app", "SAFARI.APP", "/Applications/Safari.app"}) {
    settings().setList(keys::domainRules, {"", "example.org", spelling, "iron.example", "SRWare Iron.app"});
    EXPECT_THAT(passOver({"https://example.org/here"}), ElementsAre("https://example.org/here")) << spelling;
  }
  EXPECT_THAT(tabsOf("SRWare Iron"), ElementsAre("https://iron.example/"));
  EXPECT_THAT(launches(), IsEmpty());
  EXPECT_THAT(transcript(), Not(Contains(HasSubstr("closed"))));
}

// A moved tab always opens with its URL; the new-window request and the one-shot
// background override the user left pending stay for the link they were made for.
TEST_F(TabWatcherTest, AMoveLeavesThePendingRequestsAlone) {
  delegate().linkRequest().setOpensLink(false);
  delegate().linkRequest().setBackgroundOnce(true);
  EXPECT_THAT(passOver({"https://example.org/kept"}), IsEmpty());
  EXPECT_THAT(runsSince(), ElementsAre(test::openRun({"-a", "/Applications/Firefox.app", "https://example.org/kept"})));
  EXPECT_FALSE(delegate().linkRequest().opensLink());
  EXPECT_TRUE(delegate().linkRequest().backgroundOnce());
}

// A tab is closed only once its rule's browser has taken it: when that browser
// cannot be started the tab stays, and no chooser comes up every pass.
TEST_F(TabWatcherTest, ATabNoBrowserTookStaysWhereItIs) {
  settings().setList(keys::domainRules, {"", "example.org", "Vivaldi"});
  for (int pass = 0; pass < 2; ++pass)
    EXPECT_THAT(passOver({"https://example.org/kept", "https://other.example/"}),
                ElementsAre("https://example.org/kept", "https://other.example/"));
  app.runLoop.advance(1);
  EXPECT_THAT(runsSince(), Each(HasSubstr("Vivaldi")));
  EXPECT_THAT(transcript(), Not(Contains(AnyOf(HasSubstr("closed"), HasSubstr("menu at"), HasSubstr("window at")))));
  EXPECT_THAT(launches(), IsEmpty());
}

// "www." goes only as the host's first label: the rest of a name is the name.
TEST_F(TabWatcherTest, OnlyALeadingWwwLabelIsDropped) {
  app.system.rules.addDomainRule("newww.com", "Firefox");
  EXPECT_THAT(passOver({"https://newww.com/a", "https://www.newww.com/b", "https://wwwx.example.org/"}),
              ElementsAre("https://wwwx.example.org/"));
  EXPECT_THAT(launches(), UnorderedElementsAre("Firefox https://newww.com/a", "Firefox https://www.newww.com/b"));
}

// The host world's AppleScript joins a list made text as AppleScript does: with
// the text item delimiters, none unless the script sets them.
TEST_F(TabWatcherTest, TheHostWorldJoinsTabListsAsAppleScriptDoes) {
  BrowserTabs(app.system.world).setWindow("Safari", {{"https://a.example/", "about:blank"}, 1});
  const std::string tell = "tell application \"Safari\" to set tabURLs to URL of every tab of window 1\n";
  const std::vector<std::pair<std::string, ScriptOutcome>> cases{
      {browserscripts::allTabsScript("Safari", browserscripts::everyTabOfWindow1),
       {true, "https://a.example/\nabout:blank", ""}},
      {"tell application \"Safari\" to return URL of every tab of window 1 as string",
       {true, "https://a.example/about:blank", ""}},
      {"set AppleScript's text item delimiters to \", \"\n" + tell + "return tabURLs as text",
       {true, "https://a.example/, about:blank", ""}},
      {tell + "return tabURLs", {true, "", ""}},  // a list has no text of its own
      {"tell application \"Safari\" to return URL of front document as string", {true, "about:blank", ""}},
      {tell + "return other as string", {false, "", "The variable other is not defined."}},
      {browserscripts::allTabsScript("Firefox", browserscripts::tabsOfFrontWindow),
       {false, "", "Can't get window 1 of application \"Firefox\"."}},
  };
  for (const auto& [source, expected] : cases) {
    const auto outcome = app.scripts.run(source);
    EXPECT_EQ(std::tie(outcome.ok, outcome.result, outcome.error),
              std::tie(expected.ok, expected.result, expected.error))
        << source;
  }
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
  EXPECT_EQ(settings().getBool(keys::tabWatcher), false);
}

}  // namespace
}  // namespace routelle
