// The rule texts the dialog, the script commands and the importer take: a host,
// a whole site, either with a path, and the refusals in words.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/host/HostUrlParser.h"
#include "settings/DomainRuleText.h"

namespace routelle {
namespace {

using ::testing::HasSubstr;

TEST(DomainRuleTextTest, TypedTextsAreStoredInOneFormOrRefusedInWords) {
  struct Case {
    std::string typed;
    std::optional<std::string> stored;
    std::string refusalHas;  // for a refusal in words
  };
  const Case cases[] = {
      {"*.Example.ORG", "*.example.org", ""},
      {" *.example.org. ", "*.example.org", ""},
      {"*.bücher.example", "*.xn--bcher-kva.example", ""},
      {"example.org/docs/", "example.org/docs/", ""},
      {"Example.org/Docs", "example.org/Docs", ""},
      {"*.example.org/docs", "*.example.org/docs", ""},
      {"example.org:8080/docs", "example.org/docs", ""},
      {"example.org/docs?tab=1#top", "example.org/docs", ""},
      {"example.org/a b", "example.org/a%20b", ""},
      {"example.org/", "example.org", ""},
      {"example.org//", "example.org", ""},
      // A pasted address names its host, as it always did.
      {"https://example.org/docs/", "example.org", ""},
      // A public suffix alone may still be a host rule: it matches that host only.
      {"co.uk", "co.uk", ""},
      {"exa*mple.org", std::nullopt, "\"*\""},
      {"*example.org", std::nullopt, "\"*\""},
      {"example.*", std::nullopt, "\"*\""},
      {"*.*.example.org", std::nullopt, "\"*\""},
      {"*.", std::nullopt, "names no site"},
      {"*.org", std::nullopt, "names no site"},
      {"*.co.uk", std::nullopt, "public suffix \"co.uk\""},
      {"*.github.io", std::nullopt, "public suffix \"github.io\""},
      // Nothing that could be a host: refused without words, as before.
      {"localhost/docs", std::nullopt, ""},
      {"", std::nullopt, ""},
  };
  HostUrlParser urls;
  for (const auto& c : cases) {
    const auto read = parseTypedRuleText(urls, c.typed);
    EXPECT_EQ(read.stored, c.stored) << c.typed;
    if (c.refusalHas.empty())
      EXPECT_EQ(read.refusal, "") << c.typed;
    else
      EXPECT_THAT(read.refusal, HasSubstr(c.refusalHas)) << c.typed;
    // What is stored reads back as it was typed, and storing it again changes nothing.
    if (c.stored) {
      EXPECT_TRUE(readStoredRuleText(*c.stored)) << c.typed;
      EXPECT_EQ(parseTypedRuleText(urls, *c.stored).stored, c.stored) << c.typed;
    }
  }
}

TEST(DomainRuleTextTest, StoredTextsReadAsHostSiteAndPathSegments) {
  struct Case {
    std::string stored;
    bool wholeSite;
    std::string host;
    std::string path;
  };
  const Case cases[] = {
      {"example.org", false, "example.org", ""},
      {"Example.ORG.", false, "example.org", ""},
      {"*.example.org", true, "example.org", ""},
      {"example.org/docs/", false, "example.org", "docs"},
      {"*.example.org//docs//api/", true, "example.org", "docs/api"},
      {"example.org/", false, "example.org", ""},
  };
  for (const auto& c : cases) {
    const auto read = readStoredRuleText(c.stored);
    ASSERT_TRUE(read) << c.stored;
    EXPECT_EQ(read->wholeSite, c.wholeSite) << c.stored;
    EXPECT_EQ(read->host, c.host) << c.stored;
    EXPECT_EQ(read->path, c.path) << c.stored;
  }
  for (const char* nothing : {"", "*", "*.", "/docs", "exa*mple.org", "*.*.example.org"})
    EXPECT_FALSE(readStoredRuleText(nothing)) << nothing;
}

}  // namespace
}  // namespace routelle
