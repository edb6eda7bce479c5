#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "settings/Keys.h"
#include "support/TestWorld.h"

namespace routelle {
namespace {

using Items = std::vector<std::string>;

class RuleStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { world.installCommonApps(); }
  RuleStore& rules() { return world.system().rules; }
  SettingsStore& settings() { return world.system().settings; }
  Items stored(std::string_view key) { return settings().getList(key).items; }

  test::TestWorld world;
};

TEST_F(RuleStoreTest, TypedDomainsAreStoredInTheFormLinksCarryOrRefused) {
  const std::string label63(63, 'a');
  const std::string longest = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');  // 253
  struct Case {
    std::string typed;
    std::optional<std::string> stored;  // nothing: refused
  };
  const Case cases[] = {
      // Reduced to the bare host, schemes in any case, the host in lower case.
      {"https://www.example.com/path?q=1", "www.example.com"},
      {"example.com", "example.com"},
      {"http://example.com", "example.com"},
      {"https://example.com/deep/path with blanks", "example.com"},
      {"example.com:8080", "example.com"},
      {"HTTP://WWW.Example.COM/Path", "www.example.com"},
      {"hTTpS://a.B.c", "a.b.c"},
      {"user@example.com:8443", "example.com"},
      // Blanks a paste brings along, around the text.
      {" example.org", "example.org"},
      {"\texample.org \n", "example.org"},
      {"\xC2\xA0"
       "example.org"
       "\xC2\xA0",
       "example.org"},
      // Other letters in the IDNA form links carry; that form as it is.
      {"bücher.example", "xn--bcher-kva.example"},
      {"https://BÜCHER.example/straße", "xn--bcher-kva.example"},
      {"xn--bcher-kva.example", "xn--bcher-kva.example"},
      {"faß.de", "xn--fa-hia.de"},  // nontransitional: "ß" is kept, not "ss"
      // The root's trailing dot names the same host.
      {"example.org.", "example.org"},
      {"my_host.example", "my_host.example"},
      {"q&a.example.net", "q&a.example.net"},
      {"192.168.1.20", "192.168.1.20"},
      {longest, longest},
      // What can never be a link's host.
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"localhost", std::nullopt},
      {"http://intranet/", std::nullopt},
      {"localhost.", std::nullopt},
      {"exa mple.com", std::nullopt},
      {".example.org", std::nullopt},
      {"example..org", std::nullopt},
      {"example.org..", std::nullopt},
      {"%65xample.org", std::nullopt},
      {"exa%20mple.org", std::nullopt},
      {"exa\"mple.org", std::nullopt},
      {"http://", std::nullopt},
      {"/only/a/path", std::nullopt},
      {"https://", std::nullopt},
      {"[::1]", std::nullopt},
      {longest + "c", std::nullopt},
      {std::string(64, 'a') + ".example", std::nullopt},
      {"a\u200D.example", std::nullopt},  // a joiner where none may stand
  };
  for (const auto& [typed, stored] : cases) {
    EXPECT_EQ(rules().normaliseDomain(typed), stored) << "\"" << typed << "\"";
    if (!stored) {
      EXPECT_FALSE(rules().addDomainRule(typed, "Safari")) << typed;
    }
  }
  EXPECT_EQ(settings().getList(keys::domainRules).state, StoredList::State::absent);

  ASSERT_TRUE(rules().addDomainRule(" bücher.example.", "Safari"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "xn--bcher-kva.example", "Safari"}));
}

TEST_F(RuleStoreTest, AddingADomainAgainReplacesItAndMovesItLast) {
  ASSERT_TRUE(rules().addDomainRule("https://example.com/x", "Safari"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "example.com", "Safari"}));

  ASSERT_TRUE(rules().addDomainRule("b.org", "Firefox"));
  ASSERT_TRUE(rules().addDomainRule("http://example.com", "Google Chrome"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "b.org", "Firefox", "example.com", "Google Chrome"}));

  auto reopened = world.reopen();
  ASSERT_EQ(reopened->rules.domainRules().size(), 2u);
  EXPECT_EQ(reopened->rules.domainRules()[1].domain, "example.com");
  EXPECT_EQ(reopened->rules.domainRules()[1].browser, "Google Chrome");

  EXPECT_TRUE(rules().removeDomainRule("b.org"));
  EXPECT_FALSE(rules().removeDomainRule("b.org"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "example.com", "Google Chrome"}));
}

TEST_F(RuleStoreTest, BrowserElementsNeverMatchAsDomains) {
  // "b.com" stands at a browser position (the browser of "a.com").
  settings().setList(keys::domainRules, {"", "a.com", "b.com", "c.com", "Firefox"});

  ASSERT_TRUE(rules().addDomainRule("b.com", "Safari"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "a.com", "b.com", "c.com", "Firefox", "b.com", "Safari"}));

  EXPECT_TRUE(rules().removeDomainRule("b.com"));
  EXPECT_FALSE(rules().removeDomainRule("b.com"));
  EXPECT_FALSE(rules().removeDomainRule("Firefox"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "a.com", "b.com", "c.com", "Firefox"}));
}

TEST_F(RuleStoreTest, ADomainWithoutItsBrowserIsNoRule) {
  settings().setList(keys::domainRules, {"", "a.com", "Safari", "b.com"});
  ASSERT_EQ(rules().domainRules().size(), 1u);
  EXPECT_FALSE(rules().removeDomainRule("b.com"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "a.com", "Safari", "b.com"}));

  ASSERT_TRUE(rules().addDomainRule("b.com", "Firefox"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "a.com", "Safari", "b.com", "Firefox"}));

  settings().setList(keys::domainRules, {"", "a.com", "Safari", "b.com"});
  ASSERT_TRUE(rules().addDomainRule("c.com", "Firefox"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "a.com", "Safari", "c.com", "Firefox"}));

  // A stored list without even the leading empty string still gets one.
  settings().setList(keys::domainRules, {});
  ASSERT_TRUE(rules().addDomainRule("d.com", "Safari"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "d.com", "Safari"}));
}

TEST_F(RuleStoreTest, ListsWrittenElsewhereAreChangedWithoutLosingAName) {
  // Older versions and other tools store hosts in capitals and may leave out
  // the leading empty string; a host is one rule however it is written.
  struct Case {
    const char* what;
    Items stored;
    std::function<bool(RuleStore&)> change;
    Items expected;
  };
  const Case cases[] = {
      {"replace a host stored in capitals",
       {"", "Example.COM", "Safari", "b.org", "Firefox"},
       [](RuleStore& r) { return r.addDomainRule("example.com", "Firefox"); },
       {"", "b.org", "Firefox", "example.com", "Firefox"}},
      {"remove a host stored in capitals",
       {"", "Example.COM", "Safari", "b.org", "Firefox"},
       [](RuleStore& r) { return r.removeDomainRule("example.com"); },
       {"", "b.org", "Firefox"}},
      {"add to a list without the leading empty string",
       {"a.com", "Safari"},
       [](RuleStore& r) { return r.addDomainRule("b.com", "Firefox"); },
       {"", "a.com", "Safari", "b.com", "Firefox"}},
      {"replace in a list without the leading empty string",
       {"a.com", "Safari", "b.com", "Opera"},
       [](RuleStore& r) { return r.addDomainRule("a.com", "Firefox"); },
       {"", "b.com", "Opera", "a.com", "Firefox"}},
      {"remove from a list without the leading empty string",
       {"a.com", "Safari", "b.com", "Opera"},
       [](RuleStore& r) { return r.removeDomainRule("b.com"); },
       {"", "a.com", "Safari"}},
      {"a browser name never matches there either",
       {"a.com", "Safari"},
       [](RuleStore& r) { return !r.removeDomainRule("Safari"); },
       {"a.com", "Safari"}},
  };
  for (const auto& c : cases) {
    settings().setList(keys::domainRules, c.stored);
    EXPECT_TRUE(c.change(rules())) << c.what;
    EXPECT_EQ(stored(keys::domainRules), c.expected) << c.what;
  }
  settings().setList(keys::domainRules, {"a.com", "Safari", "b.com", "Opera"});
  ASSERT_EQ(rules().domainRules().size(), 2u);
  EXPECT_EQ(rules().domainRules()[1].domain, "b.com");
  EXPECT_EQ(rules().domainRules()[1].browser, "Opera");
}

TEST_F(RuleStoreTest, AppRulesKeepOneElementPerApplication) {
  ASSERT_TRUE(rules().addAppRule("Mail", "Safari"));
  ASSERT_TRUE(rules().addAppRule("Mail", "Firefox"));
  EXPECT_EQ(stored(keys::appRules), (Items{"", "Firefox/*/*/*/*/Mail"}));

  ASSERT_TRUE(rules().addAppRule("Calendar", "Safari"));
  ASSERT_TRUE(rules().addAppRule("Mail", "Google Chrome"));
  EXPECT_EQ(stored(keys::appRules), (Items{"", "Safari/*/*/*/*/Calendar", "Google Chrome/*/*/*/*/Mail"}));
  auto parsed = world.reopen()->rules.appRules();
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[1].application, "Mail");
  EXPECT_EQ(parsed[1].browser, "Google Chrome");

  // Either part of an element names it.
  EXPECT_TRUE(rules().removeAppRule("Safari"));
  EXPECT_FALSE(rules().removeAppRule("Calendar"));
  EXPECT_TRUE(rules().removeAppRule("Mail"));
  EXPECT_FALSE(rules().removeAppRule(""));  // the leading empty string is no rule
  EXPECT_EQ(stored(keys::appRules), (Items{""}));
}

TEST_F(RuleStoreTest, RemoveRuleByAnApplicationNameLeavesDomainRulesAlone) {
  settings().setList(keys::domainRules, {"", "Mail", "Safari", "example.com", "Firefox"});
  EXPECT_FALSE(rules().removeRule("Mail"));  // installed, so only app rules are looked at
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "Mail", "Safari", "example.com", "Firefox"}));

  ASSERT_TRUE(rules().addAppRule("Mail", "Firefox"));
  EXPECT_TRUE(rules().removeRule("Mail"));
  EXPECT_EQ(stored(keys::appRules), (Items{""}));
  EXPECT_TRUE(rules().removeRule("example.com"));
  EXPECT_EQ(stored(keys::domainRules), (Items{"", "Mail", "Safari"}));
}

TEST_F(RuleStoreTest, UndecodableStoredListsAreNeverOverwritten) {
  const Bytes garbage{'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xff, 0x00, 0x13};
  auto& standard = world.system().standard;
  standard.set(keys::domainRules, garbage);
  standard.set(keys::appRules, garbage);
  standard.synchronize();

  EXPECT_FALSE(rules().addDomainRule("example.com", "Safari"));
  EXPECT_FALSE(rules().removeDomainRule("example.com"));
  EXPECT_FALSE(rules().addAppRule("Mail", "Safari"));
  EXPECT_FALSE(rules().removeAppRule("Mail"));
  EXPECT_TRUE(rules().domainRules().empty());

  auto reopened = world.reopen();
  EXPECT_EQ(reopened->standard.object(keys::domainRules), DefaultsValue(garbage));
  EXPECT_EQ(reopened->standard.object(keys::appRules), DefaultsValue(garbage));
}

TEST_F(RuleStoreTest, PriorityModifiersAndOnion) {
  rules().togglePriority();  // absent counts as domains first
  EXPECT_EQ(settings().getString(keys::rulePriority), "1");
  rules().togglePriority();
  EXPECT_EQ(settings().getString(keys::rulePriority), "0");
  rules().setPriority("1");
  rules().setPriority("2");
  EXPECT_EQ(settings().getString(keys::rulePriority), "1");

  EXPECT_TRUE(rules().setModifierRule("SHIFT", "Safari"));
  EXPECT_TRUE(rules().setModifierRule("Ctrl", "Firefox"));
  EXPECT_TRUE(rules().setModifierRule("command", "Show Browsers List"));
  EXPECT_TRUE(rules().setModifierRule("Alt", "Google Chrome"));
  EXPECT_FALSE(rules().setModifierRule("option", "Safari"));
  EXPECT_FALSE(rules().setModifierRule("", "Safari"));
  EXPECT_EQ(settings().getString(keys::shiftRule), "Safari");
  EXPECT_EQ(settings().getString(keys::controlRule), "Firefox");
  EXPECT_EQ(settings().getString(keys::commandRule), "Show Browsers List");
  EXPECT_EQ(settings().getString(keys::optionRule), "Google Chrome");
  EXPECT_FALSE(settings().contains("option"));

  EXPECT_TRUE(rules().setModifierBackground("Shift", true));
  EXPECT_EQ(world.system().standard.object("shiftback"), DefaultsValue(true));
  EXPECT_TRUE(rules().setModifierBackground("ctrl", true));
  EXPECT_TRUE(rules().setModifierBackground("CTRL", false));
  EXPECT_FALSE(settings().contains("ctrlback"));
  EXPECT_FALSE(rules().setModifierBackground("fn", true));
  EXPECT_FALSE(settings().contains("fnback"));

  EXPECT_TRUE(rules().clearModifierRule("shift"));
  EXPECT_FALSE(settings().contains(keys::shiftRule));
  EXPECT_FALSE(settings().contains("shiftback"));
  EXPECT_TRUE(settings().contains(keys::controlRule));
  EXPECT_FALSE(rules().clearModifierRule("option"));

  rules().setOnionRule("TorBrowser");
  EXPECT_EQ(world.reopen()->settings.getString(keys::onionRule), "TorBrowser");
  rules().clearOnionRule();
  EXPECT_FALSE(world.reopen()->settings.contains(keys::onionRule));
}

// Many rules added at once end exactly as the same rules added one at a time,
// whatever shape the stored list has: duplicates, hosts in capitals, a list
// without its leading empty string or with a domain left without its browser.
TEST_F(RuleStoreTest, RulesAddedTogetherEndAsRulesAddedOneByOne) {
  const std::vector<DomainRule> domains = {
      {"a.com", "Safari"},  {"https://A.com/x", "Opera"}, {"localhost", "Safari"},      {"b.com", "Firefox"},
      {"new.org", "Opera"}, {"a.com", "Google Chrome"},   {"HTTP://new.org", "Safari"}, {"c.com", "Firefox"},
      {"", "Safari"},       {"dangling.com", "Opera"}};
  const std::vector<Items> domainLists = {{},
                                          {"", "a.com", "Safari", "b.com", "Firefox"},
                                          {"", "A.com", "Safari", "a.com", "Opera", "c.com", "X", "a.COM", "Y"},
                                          {"a.com", "Safari", "b.com", "Opera"},
                                          {"", "a.com", "Safari", "dangling.com"},
                                          {"", "Safari", "a.com"}};
  const std::vector<AppRule> apps = {{"Firefox", "Mail"},       {"Safari", "Notes"},      {"Google Chrome", "Mail"},
                                     {"Safari", "a/*/*/*/*/b"}, {"Opera", "b"},           {"Y", "X"},
                                     {"Opera", "Notes"},        {"Safari", "a/*/*/*/*/b"}};
  const std::vector<Items> appLists = {{},
                                       {"", "Safari/*/*/*/*/Mail", "Opera/*/*/*/*/Notes", "Firefox/*/*/*/*/Mail"},
                                       {"no separator", "Safari/*/*/*/*/b", "Mail"}};

  auto start = [&](std::string_view key, const Items& list) {
    if (list.empty())
      settings().remove(key);
    else
      settings().setList(key, list);
  };
  for (const Items& list : domainLists) {
    for (std::size_t count : {std::size_t(1), domains.size()}) {
      const std::span<const DomainRule> added(domains.data(), count);
      start(keys::domainRules, list);
      std::size_t one = 0;
      for (const auto& rule : added) one += rules().addDomainRule(rule.domain, rule.browser) ? 1 : 0;
      const Items oneByOne = stored(keys::domainRules);
      start(keys::domainRules, list);
      EXPECT_EQ(rules().addDomainRules(added), one);
      EXPECT_EQ(stored(keys::domainRules), oneByOne) << testing::PrintToString(list) << " + " << count;
    }
  }
  for (const Items& list : appLists) {
    start(keys::appRules, list);
    for (const auto& rule : apps) rules().addAppRule(rule.application, rule.browser);
    const Items oneByOne = stored(keys::appRules);
    start(keys::appRules, list);
    EXPECT_EQ(rules().addAppRules(apps), apps.size());
    EXPECT_EQ(stored(keys::appRules), oneByOne) << testing::PrintToString(list);
  }

  // A list that cannot be read is left as it is, rule by rule or all at once.
  const Bytes unreadable{1, 2, 3};
  for (auto key : {keys::domainRules, keys::appRules}) settings().setObject(key, unreadable);
  EXPECT_EQ(rules().addDomainRules(domains), 0u);
  EXPECT_EQ(rules().addAppRules(apps), 0u);
  for (auto key : {keys::domainRules, keys::appRules}) EXPECT_EQ(settings().getObject(key), DefaultsValue(unreadable));
}

}  // namespace
}  // namespace routelle
