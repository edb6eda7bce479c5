// Which domain rule decides a link: most specific first. Each case reads
// against the rule: an exact host beats a whole site; a longer site beats a
// shorter one; for one host or site the longest path prefix wins, and a rule
// with a path beats the same host without one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "routing/RuleIndex.h"

namespace routelle {
namespace {

struct Rule {
  std::string text;
  std::string browser;
};

std::shared_ptr<const StoredListView> stored(const std::vector<Rule>& rules) {
  std::vector<std::string> items{""};
  for (const auto& rule : rules) {
    items.push_back(rule.text);
    items.push_back(rule.browser);
  }
  return StoredListView::holding(std::move(items));
}

TEST(DomainRulePrecedenceTest, TheMostSpecificRuleDecides) {
  struct Case {
    std::string what;
    std::vector<Rule> rules;
    std::string host;
    std::string path;
    std::string decides;  // empty: no rule matches
  };
  const std::vector<Rule> siteAndHost{{"*.example.org", "Site"}, {"example.org", "Host"}};
  const std::vector<Rule> twoSites{{"*.example.org", "Short"}, {"*.docs.example.org", "Long"}};
  const std::vector<Rule> twoPaths{{"example.org/docs", "Docs"}, {"example.org/docs/api/", "Api"}};
  const std::vector<Rule> hostAndPath{{"example.org/docs/", "Path"}, {"example.org", "Host"}};
  const Case cases[] = {
      {"an exact host beats a whole site", siteAndHost, "example.org", "/", "Host"},
      {"the site catches what the host rule does not", siteAndHost, "www.example.org", "/", "Site"},
      {"a site names itself", {{"*.example.org", "Site"}}, "example.org", "", "Site"},
      {"a site catches any depth", {{"*.example.org", "Site"}}, "x.y.example.org", "/a", "Site"},
      {"a site is compared by labels", {{"*.example.org", "Site"}}, "notexample.org", "/", ""},
      {"a site is a suffix, not a prefix", {{"*.example.org", "Site"}}, "example.org.evil.test", "/", ""},
      {"a longer site beats a shorter one", twoSites, "a.docs.example.org", "/", "Long"},
      {"the longer site names itself", twoSites, "docs.example.org", "/", "Long"},
      {"the shorter site keeps the rest", twoSites, "api.example.org", "/", "Short"},
      {"the longest path prefix wins", twoPaths, "example.org", "/docs/api/v2", "Api"},
      {"a shorter prefix takes what the longer does not", twoPaths, "example.org", "/docs/guide", "Docs"},
      {"a prefix matches its own path", twoPaths, "example.org", "/docs", "Docs"},
      {"segments, not characters", twoPaths, "example.org", "/docsearch", ""},
      {"paths keep their case", twoPaths, "example.org", "/Docs/api", ""},
      {"empty segments do not count", twoPaths, "example.org", "//docs//api", "Api"},
      {"a path rule beats the same host without one", hostAndPath, "example.org", "/docs/x", "Path"},
      {"the host rule keeps the other paths", hostAndPath, "example.org", "/blog", "Host"},
      {"a path rule is for its host alone", hostAndPath, "www.example.org", "/docs/x", ""},
      {"an exact host beats a site with a path",
       {{"*.example.org/docs", "SitePath"}, {"example.org", "Host"}},
       "example.org",
       "/docs/x",
       "Host"},
      {"a site with a path for the other hosts",
       {{"*.example.org/docs", "SitePath"}, {"example.org", "Host"}},
       "www.example.org",
       "/docs/x",
       "SitePath"},
      {"a longer site beats a shorter one with a path",
       {{"*.example.org/docs", "SitePath"}, {"*.www.example.org", "Longer"}},
       "www.example.org",
       "/docs",
       "Longer"},
      {"stored hosts compare without case or the root's dot", {{"Example.ORG.", "Host"}}, "example.org", "/", "Host"},
      {"of two rules with one text the first counts",
       {{"example.org", "First"}, {"EXAMPLE.org", "Second"}},
       "example.org",
       "/",
       "First"},
      {"a star elsewhere names nothing",
       {{"exa*mple.org", "Bad"}, {"*", "Bad"}, {"*.", "Bad"}},
       "example.org",
       "/",
       ""},
      {"no rules", {}, "example.org", "/", ""},
  };
  for (const auto& c : cases) {
    DomainRuleIndex index;
    EXPECT_EQ(index.browserFor(stored(c.rules), c.host, c.path).value_or(""), c.decides)
        << c.what << ": " << c.host << c.path;
  }
}

TEST(DomainRulePrecedenceTest, ExplainingListsEveryMatchInTheOrderTheyYield) {
  const auto rules = stored({{"*.org", "Tld"},
                             {"*.example.org", "Site"},
                             {"www.example.org", "Host"},
                             {"www.example.org/docs", "HostPath"},
                             {"*.example.org/docs/api", "SitePath"},
                             {"other.example.org", "Other"}});
  DomainRuleIndex index;
  std::vector<std::string> order;
  for (const auto& match : index.matchesFor(rules, "www.example.org", "/docs/api/v1"))
    order.emplace_back(rules->items[match.position + 1]);
  EXPECT_THAT(order, ::testing::ElementsAre("HostPath", "Host", "SitePath", "Site", "Tld"));
  EXPECT_EQ(index.browserFor(rules, "www.example.org", "/docs/api/v1"), "HostPath");
}

TEST(DomainRulePrecedenceTest, AnotherStoredListIsIndexedAfresh) {
  DomainRuleIndex index;
  EXPECT_EQ(index.browserFor(stored({{"example.org", "A"}}), "example.org"), "A");
  EXPECT_EQ(index.browserFor(stored({{"*.example.org", "B"}}), "example.org"), "B");
  EXPECT_EQ(index.browserFor(stored({}), "example.org"), std::nullopt);
  // A domain left last without its browser is no rule.
  EXPECT_EQ(index.browserFor(StoredListView::holding({"", "example.org"}), "example.org"), std::nullopt);
}

}  // namespace
}  // namespace routelle
