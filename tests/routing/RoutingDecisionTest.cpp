#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using test::openRun;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RoutingDecisionTest : public test::AppTest {
 protected:
  void SetUp() override {
    installCommonApps();
    settings().setString(keys::defaultChoice, "Safari");
    delegate().setTraceSink([this](std::string_view line) { traced.emplace_back(line); });
  }

  // The open command of a first, successful attempt with that browser.
  static std::vector<std::string> opens(const std::string& browser, const std::string& link) {
    return {openRun({"-a", "/Applications/" + browser + ".app", link})};
  }

  std::vector<std::string> traced;
};

TEST_F(RoutingDecisionTest, ExactlyOneModifierKeySelectsItsRule) {
  const std::string link = "https://example.org/";
  install("Brave", "com.electron.brave");
  settings().setString(keys::shiftRule, "Firefox");
  settings().setString(keys::controlRule, "Google Chrome");
  settings().setString(keys::optionRule, "Vivaldi.app");
  settings().setString(keys::commandRule, "Brave");
  settings().setList(keys::domainRules, {"", "other.org", "Google Chrome"});

  // A modifier rule outranks a domain rule for the host.
  EXPECT_EQ(route("https://other.org/", modifierFlags::shift), opens("Firefox", "https://other.org/"));
  EXPECT_EQ(route(link, modifierFlags::control), opens("Google Chrome", link));
  EXPECT_EQ(route(link, modifierFlags::command), opens("Brave", link));
  // ".app" is dropped before the launcher sees the name, as its retry shows.
  EXPECT_THAT(route(link, modifierFlags::option),
              ElementsAre(openRun({"-a", "/Applications/Vivaldi.app", link}), openRun({"-a", "Vivaldi", link})));

  for (auto flags :
       {modifierFlags::shift | modifierFlags::control, modifierFlags::shift | modifierFlags::capsLock,
        modifierFlags::capsLock, modifierFlags::function, modifierFlags::command | modifierFlags::function})
    EXPECT_EQ(route(link, flags), opens("Safari", link)) << std::hex << flags;
}

TEST_F(RoutingDecisionTest, ModifierRuleForBackgroundChooserAndOpenedBrowser) {
  const std::string link = "https://example.org/";
  settings().setString(keys::shiftRule, "Firefox");
  settings().setBool("shiftback", false);  // present is enough
  EXPECT_THAT(route(link, modifierFlags::shift), ElementsAre(openRun({"-g", "-a", "/Applications/Firefox.app", link})));
  EXPECT_FALSE(delegate().linkRequest().backgroundOnce());
  EXPECT_THAT(launches(), ElementsAre("Firefox (background) " + link));

  settings().setString(keys::controlRule, "Show Browsers List");
  EXPECT_THAT(route(link, modifierFlags::control), IsEmpty());
  EXPECT_THAT(test::titles(delegate().chooser().menu()), ElementsAre("Safari", "Firefox", "Google Chrome"));

  settings().setString(keys::optionRule, "Use the opened browser");
  setRunning({"Mail", "Google Chrome"});
  EXPECT_EQ(route(link, modifierFlags::option), opens("Google Chrome", link));
}

TEST_F(RoutingDecisionTest, DomainAndOnionRulesMatchTheHostWithoutRegardToCase) {
  settings().setList(keys::domainRules, {"", "example.org", "Firefox", "www.onion.com.example", "Firefox",
                                         "Upper.Example", "Google Chrome"});
  settings().setString(keys::onionRule, "Google Chrome");

  EXPECT_EQ(route("https://example.org/a"), opens("Firefox", "https://example.org/a"));
  EXPECT_EQ(route("https://www.example.org/"), opens("Safari", "https://www.example.org/"));
  EXPECT_EQ(route("https://EXAMPLE.org/"), opens("Firefox", "https://EXAMPLE.org/"));
  EXPECT_EQ(route("https://upper.example/"), opens("Google Chrome", "https://upper.example/"));
  // ".onion" anywhere in the host, and before any domain rule.
  EXPECT_EQ(route("https://www.onion.com.example/"), opens("Google Chrome", "https://www.onion.com.example/"));
  EXPECT_EQ(route("http://ABC.ONION/"), opens("Google Chrome", "http://ABC.ONION/"));
  // What a strict parser refuses after the host leaves the host readable.
  for (const std::string rest : {"/a b", "/\"q\"", "/<x>", "/a|b", "/é", "/#a#b", "/%zz", "/?q=a b"})
    EXPECT_EQ(route("http://abc.onion" + rest), opens("Google Chrome", "http://abc.onion" + rest)) << rest;
  EXPECT_EQ(route("https://example.org/a b"), opens("Firefox", "https://example.org/a b"));
  // No host: no onion or domain rule, the default choice.
  EXPECT_EQ(route("http://"), opens("Safari", "http://"));
  EXPECT_EQ(route("no link at all"), opens("Safari", "http://no link at all"));

  // Domains stand at odd positions only, and the first pair for a domain wins.
  settings().setList(keys::domainRules, {"", "example.org", "x.org", "x.org", "Firefox"});
  EXPECT_EQ(route("https://x.org/"), opens("Firefox", "https://x.org/"));
  settings().setList(keys::domainRules, {"", "a.com", "Firefox", "a.com", "Google Chrome"});
  EXPECT_EQ(route("https://a.com/"), opens("Firefox", "https://a.com/"));
  // A change made by another process is seen by the next link.
  HostSystem(dir.path()).settings.setList(keys::domainRules, {"", "a.com"});
  // A domain stored last without its browser is no rule.
  EXPECT_EQ(route("https://a.com/"), opens("Safari", "https://a.com/"));
}

TEST_F(RoutingDecisionTest, EverySpellingOfAHostMeetsTheRuleTypedForIt) {
  // Typed through the store, as the dialog and the script command type them.
  ASSERT_TRUE(app.system.rules.addDomainRule("bücher.example", "Firefox"));
  ASSERT_TRUE(app.system.rules.addDomainRule("example.org.", "Google Chrome"));
  const std::pair<std::string, std::string> links[] = {
      {"https://xn--bcher-kva.example/a", "Firefox"},   {"https://bücher.example/a", "Firefox"},
      {"https://BÜCHER.example/straße?q=é", "Firefox"}, {"http://user@bücher.example:8080", "Firefox"},
      {"https://XN--BCHER-KVA.example/", "Firefox"},    {"https://example.org/", "Google Chrome"},
      {"https://example.org./", "Google Chrome"},       {"https://bucher.example/", "Safari"},
      {"https://bücher.example.org/", "Safari"},
  };
  for (const auto& [link, browser] : links) EXPECT_EQ(route(link), opens(browser, link)) << link;
}

TEST_F(RoutingDecisionTest, AListWithoutItsLeadingEmptyTextIsReadAsPairsFromItsStart) {
  settings().setList(keys::domainRules, {"a.com", "Firefox", "b.com", "Google Chrome"});
  EXPECT_EQ(route("https://a.com/"), opens("Firefox", "https://a.com/"));
  EXPECT_EQ(route("https://b.com/"), opens("Google Chrome", "https://b.com/"));
  // The browsers there are no domains.
  EXPECT_EQ(route("https://firefox/"), opens("Safari", "https://firefox/"));
}

TEST_F(RoutingDecisionTest, PriorityOrdersApplicationAndDomainRules) {
  const std::string link = "https://example.org/";
  settings().setList(keys::domainRules, {"", "example.org", "Firefox"});
  settings().setList(keys::appRules, {"", "Google Chrome/*/*/*/*/Mail"});
  delegate().linkRequest().setPreviousApplication(app.system.workspace.runningApplicationNamed("Mail"));

  settings().setString(keys::rulePriority, "1");
  EXPECT_EQ(route(link), opens("Google Chrome", link));
  settings().setString(keys::rulePriority, "0");
  EXPECT_EQ(route(link), opens("Firefox", link));
  // Without a domain rule for the host, the application's rule still applies.
  EXPECT_EQ(route("https://other.org/"), opens("Google Chrome", "https://other.org/"));

  traced.clear();
  settings().setString(keys::rulePriority, "2");
  EXPECT_EQ(route(link), opens("Firefox", link));
  EXPECT_THAT(traced, Contains("default"));

  settings().setString(keys::rulePriority, "1");
  delegate().linkRequest().setPreviousApplication(app.system.workspace.runningApplicationNamed("Notes"));
  EXPECT_EQ(route(link), opens("Firefox", link));
  EXPECT_EQ(route("https://other.org/"), opens("Safari", "https://other.org/"));

  // No domain rules stored at all: the application's rule is still consulted.
  settings().remove(keys::domainRules);
  settings().setString(keys::rulePriority, "0");
  delegate().linkRequest().setPreviousApplication(app.system.workspace.runningApplicationNamed("Mail"));
  EXPECT_EQ(route(link), opens("Google Chrome", link));
}

TEST_F(RoutingDecisionTest, OpenedBrowserIsTheFirstRunningKnownOne) {
  const std::string link = "https://example.org/";
  settings().setString(keys::defaultChoice, "Use the opened browser");
  install("opera", "com.operasoftware.Opera");
  install("Arc", "company.thebrowser.Browser");
  ASSERT_TRUE(app.system.registry.addBrowserNamed("Arc"));

  setRunning({"Safari", "Google Chrome"});
  EXPECT_EQ(route(link), opens("Safari", link));
  setRunning({"Mail", "Google Chrome", "Safari"});
  EXPECT_EQ(route(link), opens("Google Chrome", link));
  // An added browser is no known one: the user is asked.
  setRunning({"Arc"});
  EXPECT_THAT(route(link), IsEmpty());
  EXPECT_THAT(test::titles(delegate().chooser().menu()), Contains("Arc.app"));
  // Recognised by its capitalised name, launched by its own.
  setRunning({"opera"});
  EXPECT_EQ(route(link), opens("opera", link));
  EXPECT_THAT(launches(), Contains("opera " + link));
}

TEST_F(RoutingDecisionTest, DefaultChoiceIsStoredWithoutItsMark) {
  MenuItem item;
  item.title = "✓Show Browsers List";
  EXPECT_TRUE(delegate().perform("openy:", item));
  EXPECT_EQ(settings().getString(keys::defaultChoice), "Show Browser List");
  item.title = "Firefox  ✓";
  EXPECT_TRUE(delegate().perform("openy:", item));
  EXPECT_EQ(settings().getString(keys::defaultChoice), "Firefox");
  EXPECT_FALSE(delegate().perform("noSuchAction:", item));
  EXPECT_THAT(runsSince(), IsEmpty());
}

}  // namespace
}  // namespace routelle
