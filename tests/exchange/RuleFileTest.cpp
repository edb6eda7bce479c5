#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "exchange/RuleFileParser.h"
#include "exchange/RuleFileReader.h"
#include "exchange/RuleFileWriter.h"
#include "support/Golden.h"
#include "support/TempDir.h"

// Golden files: regenerate with
//   ROUTELLE_UPDATE_GOLDEN=1 build/dev/tests/routelle_tests --gtest_filter='RuleFile*'
namespace routelle {
namespace {

using Rules = std::vector<std::string>;  // "domain SITE|BROWSER" or "app APP|BROWSER", in order

struct Read {
  Rules rules;
  RuleFileOutcome outcome;
};

RuleFileHandlers collectInto(Rules& rules) {
  auto add = [&rules](const char* kind, std::string_view first, std::string_view browser) {
    rules.push_back(std::string(kind) + " " + std::string(first) + "|" + std::string(browser));
  };
  return {[add](std::string_view site, std::string_view browser) { add("domain", site, browser); },
          [add](std::string_view app, std::string_view browser) { add("app", app, browser); },
          [&rules](bool, std::string_view first, std::string_view, std::string_view profile) {
            rules.push_back("profile " + std::string(first) + "|" + std::string(profile));
          }};
}

Read read(std::string_view document) {
  Read r;
  r.outcome = readRuleFile(document, collectInto(r.rules));
  return r;
}

Rules expected(const std::vector<DomainRule>& domains, const std::vector<AppRule>& apps) {
  Rules rules;
  for (const auto& d : domains) rules.push_back("domain " + d.domain + "|" + d.browser);
  for (const auto& a : apps) rules.push_back("app " + a.application + "|" + a.browser);
  return rules;
}

std::string write(const std::vector<DomainRule>& domains, const std::vector<AppRule>& apps) {
  auto text = writeRuleFile(domains, apps);
  return text ? text->document : "<writer failed>";
}

void expectGolden(const std::string& name, const std::string& actual) {
  test::expectMatchesGolden(actual, std::filesystem::path(ROUTELLE_TESTS_DIR) / "exchange" / "golden" / name);
}

bool isComplete(const Read& r) { return r.outcome.end == RuleFileEnd::complete && r.outcome.message.empty(); }

const std::vector<DomainRule> kDomains = {{"example.com", "Safari"},
                                          {"a&b<c>d.org", "Fire\"fox' & <Co>"},
                                          {"bücher.de", "Navigateur é 日本 😀"},
                                          {"  spaced\ttab\nnew\rline  ", "Google Chrome"}};
const std::vector<AppRule> kApps = {{"Firefox", "Mail"}, {"Safari", "Terminal & \"Co\""}};

TEST(RuleFileWriterTest, DocumentsMatchTheirGoldenFiles) {
  expectGolden("rules.xml", write(kDomains, kApps));
  expectGolden("empty.xml", write({}, {}));
}

TEST(RuleFileTest, WrittenRulesReadBackUnchangedAndInOrder) {
  Read back = read(write(kDomains, kApps));
  EXPECT_TRUE(isComplete(back)) << back.outcome.message;
  EXPECT_EQ(back.rules, expected(kDomains, kApps));

  std::vector<DomainRule> many;
  for (int i = 0; i < 3000; ++i) many.push_back({"site" + std::to_string(i) + ".example.com", kDomains[i % 4].browser});
  back = read(write(many, kApps));
  EXPECT_TRUE(isComplete(back)) << back.outcome.message;
  EXPECT_EQ(back.rules, expected(many, kApps));
}

// A rule's profile travels in an attribute of its own: the rule reads the same
// without it, and a profile XML cannot carry is left out, not the rule.
TEST(RuleFileTest, ProfilesTravelBesideTheirRules) {
  const std::vector<DomainRule> domains = {
      {"work.example", "Google Chrome"}, {"home.example", "Google Chrome"}, {"bad.example", "Firefox"}};
  const std::vector<AppRule> apps = {{"Firefox", "Slack"}};
  const auto text = writeRuleFile(domains, apps, [](bool domainRule, const std::string& first, const std::string&) {
    if (!domainRule) return std::string("Profiles/x.work & co");
    return first == "work.example" ? std::string("Profile 1") : first == "bad.example" ? std::string("\x01") : "";
  });
  ASSERT_TRUE(text);
  EXPECT_NE(text->document.find(R"(<domain site="work.example" browser="Google Chrome" profile="Profile 1"/>)"),
            std::string::npos)
      << text->document;
  EXPECT_EQ(text->leftOut, 0u);
  EXPECT_EQ(read(text->document).rules, (Rules{"domain work.example|Google Chrome", "profile work.example|Profile 1",
                                               "domain home.example|Google Chrome", "domain bad.example|Firefox",
                                               "app Slack|Firefox", "profile Slack|Profiles/x.work & co"}));
  // An empty attribute, or one on an element that is no rule, is no profile.
  EXPECT_EQ(read("<lists><domain site='a.org' browser='Safari' profile=''/><x profile='p'/></lists>").rules,
            Rules{"domain a.org|Safari"});
}

TEST(RuleFileWriterTest, TextsXmlCannotCarryAreLeftOutAndTheFileStaysReadable) {
  const std::vector<DomainRule> domains = {
      {"a.com", "Safari"},        {std::string("n\0l.com", 7), "Safari"}, {"bell\a.com", "Safari"},
      {"b.com", "bad \xC3(utf8"}, {"surrogate.com", "\xED\xA0\x80"},      {"c.com", "Opera"}};
  // The longest names, written with the longest escape throughout, still read back;
  // one byte more is no name.
  const std::string longest(kRuleTextMaxBytes, '"');
  const std::string tooLong(kRuleTextMaxBytes + 1, 'a');
  const std::vector<AppRule> apps = {
      {"Firefox", "Mail\x01"}, {"Firefox", "Notes"}, {longest, longest}, {"Safari", tooLong}, {tooLong, "Safari"}};
  auto text = writeRuleFile(domains, apps);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->leftOut, 7u);
  Read back = read(text->document);
  EXPECT_TRUE(isComplete(back)) << back.outcome.message;
  EXPECT_EQ(back.rules, (Rules{"domain a.com|Safari", "domain c.com|Opera", "app Notes|Firefox",
                               "app " + longest + "|" + longest}));
  // Read from a file written elsewhere, a name that long is skipped like an empty one.
  back = read("<lists><domain site='" + tooLong + ".org' browser='Safari'/><app app='Mail' browser='" + tooLong +
              "'/><app app='Notes' browser='Safari'/></lists>");
  EXPECT_TRUE(isComplete(back)) << back.outcome.message;
  EXPECT_EQ(back.rules, Rules{"app Notes|Safari"});
}

// Well-formed files are read whatever their text, comments or sections hold.
TEST(RuleFileReaderTest, WhatAWellFormedFileHoldsAroundTheRulesDoesNotStopIt) {
  const std::string rule = "<domain site='a.org' browser='Safari'/>";
  const std::string manySigns(1000, '=');
  const std::vector<std::string> documents = {
      "<lists>" + manySigns + rule + manySigns + "</lists>",
      "<lists>" + rule + "<domain site='b.org/?" + manySigns + "' browser='Safari'/></lists>",
      "<!-- <!DOCTYPE lists [<!ENTITY x 'y'>]> -->\n<lists>" + rule + "</lists>",
      "<lists><!-- <!DOCTYPE x> -->" + rule + "<![CDATA[<!DOCTYPE x> <!ENTITY y 'z'> " + manySigns + "]]></lists>",
      "<?xml version='1.0'?><?note <!DOCTYPE x>?><lists>" + rule + "<x a='!DOCTYPE' b='=' c='&lt;!DOCTYPE'/></lists>",
  };
  for (const std::string& document : documents) {
    const Read r = read(document);
    EXPECT_TRUE(isComplete(r)) << document << ": " << r.outcome.message;
    EXPECT_EQ(r.rules.front(), "domain a.org|Safari") << document;
  }
  EXPECT_EQ(read(documents[1]).rules.back(), "domain b.org/?" + manySigns + "|Safari");
}

TEST(RuleFileReaderTest, OnlyDomainAndAppElementsWithBothTextsCount) {
  const std::string_view document = R"(<?xml version="1.0" encoding="UTF-8"?>
<lists xmlns:x="urn:other"><undeclared:domain site="undeclared.org" browser="Safari"/>
  <domain site="root-level.org" browser="Safari"></domain>
  <domains>
    <domain browser="Opera"
            site="reversed.org" extra="ignored" />
    <Domain site="case.org" browser="Safari"/>  <DOMAIN site="case.org" browser="Safari"/>
    <x:domain site="prefixed.org" browser="Safari"/>
    <domain xmlns="urn:default" site="default-namespace.org" browser="Safari"/>
    <domain x:site="prefixed-attribute.org" browser="Safari"/>
    <domain site="" browser="Safari"/>  <domain site="no-browser.org"/>  <domain browser="Safari"/>
    <domain site=" " browser="Safari"><app app="nested" browser="Firefox"/></domain>
    <app app="Mail" browser="Firefox"/>
  </domains>
  <apps><app app="Notes" browser=""/><app browser="Firefox"/><app app="Terminal" browser="Safari"></app>
    <app site="Site" browser="Firefox"/><x:app app="Prefixed" browser="Firefox"/></apps>
</lists>
)";
  const Read r = read(document);
  EXPECT_TRUE(isComplete(r)) << r.outcome.message;
  EXPECT_EQ(r.rules,
            (Rules{"domain root-level.org|Safari", "domain reversed.org|Opera", "domain default-namespace.org|Safari",
                   "domain  |Safari", "app nested|Firefox", "app Mail|Firefox", "app Terminal|Safari"}));

  // The same when the document arrives byte by byte, after a byte order mark.
  Rules pieces;
  RuleFileParser parser(collectInto(pieces));
  for (char c : "\xEF\xBB\xBF" + std::string(document)) ASSERT_TRUE(parser.feed(std::string_view(&c, 1)));
  EXPECT_EQ(parser.finish().end, RuleFileEnd::complete);
  EXPECT_EQ(pieces, r.rules);
}

TEST(RuleFileReaderTest, ABrokenDocumentKeepsEveryRuleBeforeTheFault) {
  const std::string whole = write(kDomains, kApps);
  const Rules all = expected(kDomains, kApps);
  // Cut anywhere, the rules read are a leading part of the whole, and only the
  // whole document is complete.
  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    const Read r = read(std::string_view(whole).substr(0, cut));
    ASSERT_LE(r.rules.size(), all.size());
    EXPECT_TRUE(std::equal(r.rules.begin(), r.rules.end(), all.begin())) << cut;
    if (cut + 1 < whole.size()) {
      EXPECT_EQ(r.outcome.end, RuleFileEnd::notWellFormed) << cut;
    }
  }
  // Each element is reported as soon as it is parsed, not after more input.
  std::string broken = "<lists>";
  for (int i = 0; i < 50; ++i) broken += "<domain site='s" + std::to_string(i) + ".org' browser='Safari'/>";
  Read r = read(broken + "\n<domain site='x.org' browser='Safari'>< /domain>" + broken + "</lists>");
  EXPECT_EQ(r.rules.size(), 51u);
  EXPECT_EQ(r.outcome.end, RuleFileEnd::notWellFormed);
  EXPECT_EQ(r.outcome.message.rfind("line 2: not well-formed XML: ", 0), 0u) << r.outcome.message;

  // Input is UTF-8 whatever it declares; a byte order mark is fine.
  r = read("<lists><domain site='a.org' browser='Safari'/><domain site='\xE9t\xE9.fr' browser='Safari'/></lists>");
  EXPECT_EQ(r.rules, Rules{"domain a.org|Safari"});
  EXPECT_EQ(r.outcome.end, RuleFileEnd::notWellFormed);
  EXPECT_EQ(read("<?xml version='1.0' encoding='UTF-16'?><domain site='a.org' browser='é'/>").rules,
            Rules{"domain a.org|é"});
  EXPECT_EQ(read(std::string("\xFF\xFE<\0d\0/\0>\0", 10)).outcome.end, RuleFileEnd::notWellFormed);
  EXPECT_TRUE(isComplete(read("\xEF\xBB\xBF<lists/>")));
  EXPECT_EQ(read("").outcome.end, RuleFileEnd::notWellFormed);
  EXPECT_EQ(read("\xEF\xBB").outcome.end, RuleFileEnd::notWellFormed);
}

TEST(RuleFileReaderTest, HostileDocumentsEndWithoutExpandingOrReadingAnything) {
  test::TempDir dir;
  std::ofstream(dir.path() / "secret.txt") << "TOP-SECRET";
  const std::string entity = "<!DOCTYPE lists [<!ENTITY xxe SYSTEM \"file://" + (dir.path() / "secret.txt").string() +
                             "\">]><lists><domain site=\"&xxe;.org\" browser=\"&xxe;\"/><domain site='a.org' "
                             "browser='Safari'>&xxe;</domain></lists>";
  std::string laughs = "<?xml version='1.0'?>\n<!DOCTYPE lists [<!ENTITY l0 'ha'>";
  for (int i = 1; i < 10; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "'>";
  }
  laughs += "]><lists><domain site='&l9;.org' browser='&l9;'/><domain site='a.org' browser='&l9;'/></lists>";
  for (const std::string& document : {entity, laughs}) {
    const Read r = read(document);
    EXPECT_EQ(r.outcome.end, RuleFileEnd::unsupported) << document;
    EXPECT_TRUE(r.rules.empty());
  }
  // Refused where it stands, even when it arrives in pieces; what came before is kept.
  Rules none;
  RuleFileParser declared(collectInto(none));
  bool going = true;
  for (char c : std::string("<!DOCTYPE lists []><lists><domain site='a.org' browser='b'/></lists>"))
    going = going && declared.feed(std::string_view(&c, 1));
  EXPECT_FALSE(going);
  EXPECT_EQ(declared.finish().end, RuleFileEnd::unsupported);
  EXPECT_TRUE(none.empty());
  // Only the prolog may hold one: later, it is no XML at all.
  const Read late = read("<lists><domain site='a.org' browser='b'/><!DOCTYPE x><domain site='c.org' browser='d'/>");
  EXPECT_EQ(late.outcome.end, RuleFileEnd::notWellFormed);
  EXPECT_EQ(late.rules, Rules{"domain a.org|b"});
  // An empty declaration, one naming an outside file, one with only an entity.
  for (const char* declaration : {"<!DOCTYPE lists>", "<!DOCTYPE lists SYSTEM 'http://example.org/rules.dtd'>",
                                  "<!DOCTYPE lists [<!ENTITY site 'a.org'>]>"}) {
    const Read r = read(std::string(declaration) + "<lists><domain site='a.org' browser='Safari'/></lists>");
    EXPECT_EQ(r.outcome.end, RuleFileEnd::unsupported) << declaration;
    EXPECT_EQ(r.outcome.message, "line 1: a document type declaration, which rule files never hold; not read");
    EXPECT_TRUE(r.rules.empty()) << declaration;
  }
  // Without a declaration an entity is an error, never a value.
  EXPECT_TRUE(read("<lists><domain site='&xxe;.org' browser='Safari'/></lists>").rules.empty());

  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<domain site='d.org' browser='Safari'>";
  const Read tooDeep = read(deep);
  EXPECT_EQ(tooDeep.outcome.end, RuleFileEnd::tooDeep);
  EXPECT_EQ(tooDeep.rules.size(), std::size_t(kRuleFileMaxDepth));

  std::string wide = "<lists><domain site='a.org' browser='Safari'/><domain";
  for (int i = 0; i < 100000; ++i) wide += " a" + std::to_string(i) + "=''";
  const Read tooWide = read(wide + "/></lists>");
  EXPECT_EQ(tooWide.outcome.end, RuleFileEnd::tooLarge);
  EXPECT_EQ(tooWide.rules, Rules{"domain a.org|Safari"});
  // Arriving in pieces, a tag is refused once it has grown past the bound.
  Rules widePieces;
  RuleFileParser widening(collectInto(widePieces));
  bool fed = true;
  for (std::size_t at = 0; fed && at < wide.size(); at += 1000)
    fed = widening.feed(std::string_view(wide).substr(at, 1000));
  EXPECT_FALSE(fed);
  EXPECT_EQ(widening.finish().end, RuleFileEnd::tooLarge);
  EXPECT_EQ(widePieces, Rules{"domain a.org|Safari"});

  std::string huge = "<lists>" + std::string(kRuleFileMaxBytes, ' ') + "</lists>";
  EXPECT_EQ(read(huge).outcome.end, RuleFileEnd::tooLarge);
}

TEST(RuleFileReaderTest, AFailingHandlerEndsTheReadingAndIsPassedOn) {
  int calls = 0;
  const RuleFileHandlers failing{[&](std::string_view, std::string_view) {
                                   if (++calls == 2) throw std::runtime_error("store full");
                                 },
                                 {},
                                 {}};
  EXPECT_THROW(readRuleFile(write(kDomains, kApps), failing), std::runtime_error);
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace routelle
