#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "routing/LinkCleaner.h"
#include "routing/LinkIntake.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const CleaningTables& shipped() {
  static const CleaningTables tables = [] {
    CleaningTables t;
    t.addLines(shippedLinkCleaning());
    return t;
  }();
  return tables;
}

std::string cleaned(const std::string& link) { return cleanLink(link, {&shipped()}).after; }

struct Case {
  const char* what;
  const char* link;
  const char* expected;
};

// Links as the services send them, and what opens.
const Case kUnwrapped[] = {
    {"Outlook Safe Links",
     "https://eur02.safelinks.protection.outlook.com/?url=https%3A%2F%2Fexample.com%2Fpath%3Fa%3D1%26b%3D2&data=05%7C01"
     "%7C&sdata=abc%3D&reserved=0",
     "https://example.com/path?a=1&b=2"},
    {"Outlook Safe Links, host in capitals",
     "https://NAM12.SafeLinks.Protection.Outlook.com/?url=http%3A%2F%2Fa.org%2F", "http://a.org/"},
    {"Google search result", "https://www.google.com/url?sa=t&rct=j&q=&url=https%3A%2F%2Fexample.com%2F&usg=AOv",
     "https://example.com/"},
    {"Google, q parameter", "https://www.google.co.uk/url?q=https://example.com/news&sa=D", "https://example.com/news"},
    {"Slack", "https://slack-redir.net/link?url=https%3A%2F%2Fexample.com%2Fdoc%23part",
     "https://example.com/doc#part"},
    {"Facebook", "https://l.facebook.com/l.php?u=https%3A%2F%2Fexample.com%2F%3Ffbclid%3DIwAR&h=AT0",
     "https://example.com/"},
    {"Facebook mobile", "https://lm.facebook.com/l.php?u=https%3A%2F%2Fexample.org%2Fa", "https://example.org/a"},
    {"LinkedIn", "https://www.linkedin.com/redir/redirect?url=https%3A%2F%2Fexample.com%2Fjob&urlhash=x",
     "https://example.com/job"},
    {"Teams safe links page",
     "https://statics.teams.cdn.office.net/evergreen-assets/safelinks/1/"
     "atp-safelinks.html?url=https%3A%2F%2Fexample.com"
     "%2F&locale=en-us",
     "https://example.com/"},
    {"wrapped twice",
     "https://eur02.safelinks.protection.outlook.com/?url=https%3A%2F%2Fwww.google.com%2Furl%3Fq%3Dhttps%253A%252F%252F"
     "example.com%252F%253Futm_source%253Dmail%26sa%3DD&data=1",
     "https://example.com/"},
};

// Links that must come out exactly as they went in.
const Case kUntouched[] = {
    {"wrapped value is no web link", "https://www.google.com/url?q=javascript%3Aalert(1)", nullptr},
    {"wrapped value is a mail link", "https://slack-redir.net/link?url=mailto%3Aa%40b.c", nullptr},
    {"wrapped value broken escape", "https://slack-redir.net/link?url=https%3A%2F%2Fexample.com%2", nullptr},
    {"wrapped value with a blank", "https://slack-redir.net/link?url=https%3A%2F%2Fexa%20mple.com", nullptr},
    {"unknown host with url parameter", "https://example.com/redirect?url=https%3A%2F%2Fother.org%2F", nullptr},
    {"google lookalike host", "https://www.google.evil.com/url?q=https%3A%2F%2Fother.org%2F", nullptr},
    {"other path on a wrapper", "https://www.google.com/search?q=https%3A%2F%2Fother.org", nullptr},
    {"mail link", "mailto:someone@example.com?subject=hi&utm_source=x", nullptr},
    {"own scheme", "routelle://https://example.com/?utm_source=x", nullptr},
    {"onion host", "http://abcdefghijklmnop.onion/?utm_source=x&fbclid=1", nullptr},
    {"no query", "https://example.com/a/b#utm_source=x", nullptr},
    {"parameters that only look alike", "https://example.com/?utm=1&xfbclid=2&UTM_source=3&gclid_x=4", nullptr},
    {"encoded name stays", "https://example.com/?utm%5Fsource=x", nullptr},
    {"empty pieces", "https://example.com/?&a=1&&b=2&", nullptr},
};

// Trackers go; everything else keeps its bytes, its order and the fragment.
const Case kStripped[] = {
    {"one tracker", "https://example.com/?fbclid=IwAR0abc", "https://example.com/"},
    {"prefix entry", "https://example.com/p?utm_source=news&utm_medium=mail&id=7", "https://example.com/p?id=7"},
    {"order and encoding kept",
     "https://example.com/s?q=caf%C3%A9+au+lait&gclid=x&sort=%2Bdate&page=2&msclkid=y#r%C3%A9sum%C3%A9",
     "https://example.com/s?q=caf%C3%A9+au+lait&sort=%2Bdate&page=2#r%C3%A9sum%C3%A9"},
    {"fragment kept when the query goes", "https://example.com/a?mc_cid=1&mc_eid=2#top", "https://example.com/a#top"},
    {"value-less tracker", "https://example.com/?igshid&x=1", "https://example.com/?x=1"},
    {"port and user kept", "https://u:p@example.com:8443/x?_hsenc=a&_hsmi=b&k=v", "https://u:p@example.com:8443/x?k=v"},
    {"unwrapped then stripped", "https://l.facebook.com/l.php?u=https%3A%2F%2Fexample.com%2F%3Fa%3D1%26fbclid%3Dz",
     "https://example.com/?a=1"},
};

TEST(LinkCleaning, UnwrapsEachServicesLinks) {
  for (const auto& c : kUnwrapped) EXPECT_EQ(cleaned(c.link), c.expected) << c.what;
}

TEST(LinkCleaning, LeavesWhatItMustNotRewrite) {
  for (const auto& c : kUntouched) {
    const auto result = cleanLink(c.link, {&shipped()});
    EXPECT_EQ(result.after, c.link) << c.what;
    EXPECT_TRUE(result.changedBy.empty()) << c.what;
  }
}

TEST(LinkCleaning, StripsTrackersAndKeepsTheRest) {
  for (const auto& c : kStripped) EXPECT_EQ(cleaned(c.link), c.expected) << c.what;
}

TEST(LinkCleaning, SaysWhichEntriesChangedTheLink) {
  const auto result = cleanLink(
      "https://www.google.com/url?q=https%3A%2F%2Fexample.com%2F%3Futm_source%3Da%26utm_medium%3Db%26gclid%3Dc",
      {&shipped()});
  EXPECT_EQ(result.after, "https://example.com/");
  EXPECT_THAT(result.changedBy, ElementsAre("unwrap www.google.* /url q url", "strip utm_*", "strip gclid"));
}

TEST(LinkCleaning, UnwrappingStopsAtItsDepth) {
  // Each level wraps the next once more; the sixth level is left wrapped.
  std::string link = "https://example.com/end";
  for (int i = 0; i < 7; ++i) {
    std::string escaped;
    for (char ch : link)
      escaped += ch == ':'   ? "%3A"
                 : ch == '/' ? "%2F"
                 : ch == '%' ? "%25"
                 : ch == '?' ? "%3F"
                 : ch == '=' ? "%3D"
                             : std::string(1, ch);
    link = "https://slack-redir.net/link?url=" + escaped;
  }
  const auto result = cleanLink(link, {&shipped()});
  EXPECT_TRUE(result.after.starts_with("https://slack-redir.net/link?url=https%3A%2F%2Fslack-redir.net"))
      << result.after;
}

TEST(LinkCleaning, MalformedEntriesAreSkipped) {
  CleaningTables tables;
  tables.addLines("unwrap onlyhost\nstrip\nstrip *\nstrip a b\nbogus x\n  strip keep_me_not   # note\r\n" +
                  std::string(2000, 'x') + "\n");
  EXPECT_EQ(cleanLink("https://e.com/?keep_me_not=1&a=1&b=2", {&tables}).after, "https://e.com/?a=1&b=2");
}

class LinkCleanerTest : public test::AppTest {
 protected:
  void SetUp() override {
    installCommonApps();
    settings().setString(keys::defaultChoice, "Safari");
  }
};

TEST_F(LinkCleanerTest, CleansOnlyWhenTurnedOnAndRulesSeeTheDestination) {
  settings().setList(keys::domainRules, {"", "example.com", "Firefox"});
  const std::string wrapped = "https://slack-redir.net/link?url=https%3A%2F%2Fexample.com%2Fa%3Futm_source%3Dslack";
  auto explained = [&] { return delegate().linkIntake().explainLink(wrapped, LinkMoment{}); };
  EXPECT_FALSE(explained().tried(DecisionStepKind::cleanLinks));
  route(wrapped);

  delegate().perform("changeCleanLinks", MenuItem{});
  const auto decision = explained();
  ASSERT_TRUE(decision.tried(DecisionStepKind::cleanLinks));
  EXPECT_EQ(decision.received, wrapped);
  EXPECT_EQ(decision.link, "https://example.com/a");
  EXPECT_EQ(decision.browser, "Firefox");
  // Right after intake has read the link, before any rule sees it.
  ASSERT_EQ(decision.steps.at(3).kind, DecisionStepKind::cleanLinks);
  EXPECT_THAT(decision.steps.at(3).finding, AllOf(HasSubstr(wrapped + " -> https://example.com/a"),
                                                  HasSubstr("slack-redir.net"), HasSubstr("utm_source")));
  route(wrapped);
  EXPECT_THAT(launches(), ElementsAre("Safari " + wrapped, "Firefox https://example.com/a"));
}

TEST_F(LinkCleanerTest, UserAdditionsWorkBesideTheShippedFile) {
  settings().setBool(keys::cleanLinks, true);
  settings().setList(keys::linkCleaningAdditions, {"", "strip ref", "unwrap go.example.net /out to"});
  route("https://go.example.net/out?to=https%3A%2F%2Fexample.org%2F%3Fref%3Dx%26utm_campaign%3Dy%26k%3D1");
  EXPECT_THAT(launches(), ElementsAre("Safari https://example.org/?k=1"));
}

// What a user types in "Add to Clean Links...": the entry written for it, which
// must then do to the typed link what the user asked for.
TEST(LinkCleaning, EntriesWrittenFromWhatTheUserTypes) {
  const struct {
    std::string typed;
    std::optional<std::string> line;
  } cases[] = {
      {"ref_src", "strip ref_src"},
      {"  mc_*\n", "strip mc_*"},
      {"https://T.Example.com/r?id=1&to=https%3A%2F%2Fa.example%2Fx&z=2", "unwrap t.example.com /r to"},
      {"https://t.example.com?u=http://a.example/", "unwrap t.example.com / u"},
      {"HTTPS://t.example.com/r?to=ftp%3A%2F%2Fa.example", std::nullopt},  // only web links are unwrapped
      {"https://t.example.com/r?to=https%3A%2F%2Fa.example%2F with blank", std::nullopt},
      {"http://abc.onion/r?to=https%3A%2F%2Fa.example", std::nullopt},
      {"https://t.example.com/plain", std::nullopt},
      // Unwrapping reads a parameter's first occurrence; a "*" host would be a pattern.
      {"https://t.example.com/r?to=x&to=https%3A%2F%2Fa.example", std::nullopt},
      {"https://*.example.com/r?to=https%3A%2F%2Fa.example", std::nullopt},
      {"*", std::nullopt},
      {"a&b", std::nullopt},
      {"a=b", std::nullopt},
      {"two words", std::nullopt},
      {"utm_*x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(readUserCleaningEntry(c.typed).line, c.line) << c.typed;

  CleaningTables written;
  written.addLine(*readUserCleaningEntry(cases[2].typed).line);
  written.addLine(*readUserCleaningEntry(cases[0].typed).line);
  EXPECT_EQ(cleanLink(cases[2].typed, {&written}).after, "https://a.example/x");
  EXPECT_EQ(cleanLink("https://a.example/?ref_src=tw&b=1", {&written}).after, "https://a.example/?b=1");
}

TEST_F(LinkCleanerTest, TheBundlesFileIsTheOneRead) {
  settings().setBool(keys::cleanLinks, true);
  const auto resources = dir.path() / "Applications/Routelle.app/Contents/Resources";
  std::filesystem::create_directories(resources);
  std::ofstream(resources / "LinkCleaning.txt") << "strip only_this\n";
  route("https://example.com/?only_this=1&fbclid=2");
  EXPECT_THAT(launches(), ElementsAre("Safari https://example.com/?fbclid=2"));
}

}  // namespace
}  // namespace routelle
