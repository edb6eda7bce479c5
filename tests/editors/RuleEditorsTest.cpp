#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using Items = std::vector<std::string>;

class RuleEditorsTest : public test::AppTest {
 protected:
  void SetUp() override {
    installCommonApps();
    app.start();
    app.runLoop.runPending();  // the applications list
  }
  // The user types the text, picks the browser and presses OK.
  void typeDomain(const std::string& text, const std::string& browser = "Firefox") {
    DialogAnswer answer;
    answer.steps = {{DialogAnswer::Control::text, text}, {DialogAnswer::Control::browsers, browser}};
    answer.button = "OK";
    app.presenter.dialogAnswers.push_back(answer);
    act("addDomains");
  }
  void answer(const std::string& given) {
    std::string problem;
    auto parsed = parseDialogAnswer(given, problem);
    ASSERT_TRUE(parsed) << problem;
    app.presenter.dialogAnswers.push_back(*parsed);
  }
  void act(const std::string& action, const std::string& title = {}, const std::string& key = {}) {
    MenuItem sender;
    sender.title = title;
    sender.keyEquivalent = key;
    ASSERT_TRUE(delegate().perform(action, sender));
    EXPECT_FALSE(app.presenter.answerProblem) << *app.presenter.answerProblem;
  }
  Items stored(std::string_view key) { return settings().getList(key).items; }
};

// Whatever is typed, the stored list stays domain, browser pairs holding a bare host.
TEST_F(RuleEditorsTest, TypedDomainsBecomeABareHostOrNothing) {
  const std::string longHost = std::string(9996, 'a') + ".com";
  struct Case {
    std::string typed;
    Items stored;
  };
  const std::vector<Case> cases{
      {"", {}},
      {"localhost", {}},
      {"http://", {}},
      {"not a domain.com", {}},
      {"https://www.example.com:8443/news/today?id=7#top", {"", "www.example.com", "Firefox"}},
      {"https://http://shop.example.org/", {"", "shop.example.org", "Firefox"}},
      {" bücher.example. ", {"", "xn--bcher-kva.example", "Firefox"}},
      {".example.org", {}},
      {longHost, {}},
      {std::string(10000, ';'), {}},
  };
  for (const auto& c : cases) {
    settings().remove(keys::domainRules);
    const std::size_t before = transcript().size();
    typeDomain(c.typed);
    EXPECT_EQ(stored(keys::domainRules), c.stored) << c.typed.substr(0, 60);
    // What cannot be a host is refused in words; an empty field needs none.
    const std::vector<std::string> said(transcript().begin() + static_cast<long>(before), transcript().end());
    const bool refused = c.stored.empty() && !c.typed.empty();
    EXPECT_EQ(std::count(said.begin(), said.end(), "alert (warning): \"" + c.typed + "\" is not a domain name."),
              refused ? 1 : 0)
        << c.typed.substr(0, 60);
  }
}

TEST_F(RuleEditorsTest, ADomainListIsKeptInPairs) {
  // An existing but empty list still gets its leading empty element, so the
  // domain lands where readers look for domains.
  settings().setList(keys::domainRules, {});
  typeDomain("example.com");
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "example.com", "Firefox"}));
  // A domain equal to a browser name elsewhere in the list only replaces a domain.
  settings().setList(keys::domainRules, {"", "a.example", "b.example", "b.example", "Safari"});
  typeDomain("b.example");
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "a.example", "b.example", "b.example", "Firefox"}));
  act("deletar:", "Delete", "a.example");
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "b.example", "Firefox"}));
  act("deletar:", "Delete", "missing.example");
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "b.example", "Firefox"}));
}

TEST_F(RuleEditorsTest, AnUnreadableDomainListIsNeitherReplacedNorActedOn) {
  const Bytes garbage{'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xff, 0x13};
  settings().setObject(keys::domainRules, garbage);
  typeDomain("example.com");
  act("deletar:", "Delete", "example.com");
  EXPECT_EQ(settings().getObject(keys::domainRules), DefaultsValue(garbage));
  EXPECT_THAT(runsSince(), IsEmpty());
}

TEST_F(RuleEditorsTest, RemovingAnAppRuleTakesExactlyThatRule) {
  act("deletarPerApp:", "Delete", "Safari/*/*/*/*/Mail");  // no list: nothing to do
  EXPECT_FALSE(settings().contains(keys::appRules));
  settings().setList(keys::appRules, {"", "Safari/*/*/*/*/Mail", "Firefox/*/*/*/*/Safari"});
  act("deletarPerApp:", "Delete", "Firefox/*/*/*/*/Safari");
  EXPECT_EQ(stored(keys::appRules), (Items{"", "Safari/*/*/*/*/Mail"}));
  act("deletarPerApp:", "Delete", "Safari");
  EXPECT_EQ(stored(keys::appRules), (Items{"", "Safari/*/*/*/*/Mail"}));
}

TEST_F(RuleEditorsTest, ThePerAppDialogStoresTheChosenPairAndReportsItsResult) {
  std::vector<std::string> traced;
  delegate().setTraceSink([&](std::string_view line) { traced.emplace_back(line); });
  answer("app=Mail;browser=Google Chrome;OK");
  act("addPerApp");
  answer("app=Safari;Cancel");
  act("addPerApp");
  EXPECT_EQ(stored(keys::appRules), (Items{"", "Google Chrome/*/*/*/*/Mail"}));
  EXPECT_THAT(traced, Contains("true"));
  EXPECT_EQ(traced.back(), "false");
}

TEST_F(RuleEditorsTest, TheProgramItselfIsNeverATarget) {
  install("Routelle", std::string(domains::ownBundleIdentifier));
  install("Arc", "company.thebrowser.Browser");
  settings().setList(keys::addedBrowsers,
                     {"", std::string(domains::ownBundleIdentifier), "company.thebrowser.Browser"});
  settings().setString(keys::commandRule, "Routelle");

  answer("OK");
  act("adModKey:", "Command", "command");
  EXPECT_THAT(transcript(), Contains("      Arc.app <image /Applications/Arc.app 20x20>"));
  EXPECT_THAT(transcript(), Not(Contains(HasSubstr("Routelle.app <image"))));
  EXPECT_THAT(transcript(), Contains("      None (selected)"));
  EXPECT_FALSE(settings().contains(keys::commandRule));

  act("addRuleToSuffixOnion:", "Routelle");
  act("addRuleToSuffixOnion:", "✓Routelle.app");
  EXPECT_FALSE(settings().contains(keys::onionRule));
  act("addRuleToSuffixOnion:", "Firefox ✓");
  EXPECT_EQ(settings().getString(keys::onionRule), "Firefox");
}

TEST_F(RuleEditorsTest, WithoutAnApplicationsFolderThePopupOffersOnlyTheChooser) {
  std::filesystem::remove_all(app.system.world.hostPath("/Applications"));
  std::ofstream(app.system.world.hostPath("/Applications")) << "not a folder";
  delegate().ruleEditors().fillApplicationsPopup();
  app.runLoop.runPending();
  const auto& entries = delegate().ruleEditors().dialog().applicationsPopup().entries;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].title, "Choose another app");
  answer("OK");
  act("addPerApp");
  EXPECT_FALSE(settings().contains(keys::appRules));
}

}  // namespace
}  // namespace routelle
