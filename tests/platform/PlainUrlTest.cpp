// Plain links are read without the general parser: each must come out exactly
// as the general parser reads it, and anything else must be left to it.
#include "platform/host/PlainUrl.h"

#include <gtest/gtest.h>

#include "platform/host/HostUrlParser.h"

namespace routelle {
namespace {

std::string described(const std::optional<ParsedUrl>& url) {
  if (!url) return "no URL";
  return url->scheme + " | " + url->host.value_or("(no host)") + " | " + url->path + " | " +
         (url->query ? "?" + *url->query : "(no query)");
}

TEST(PlainUrlTest, ReadsPlainLinksAsTheGeneralParserDoes) {
  const char* plain[] = {
      "https://a.b",       "https://a.b/",          "https://a.b?",
      "https://a.b#",      "https://a.b/?q",        "https://site9999.example.com/page?q=1",
      "https://a.b/x//y/", "https://a.b/x?q?#f",    "https://A.B/%41%4a",
      "HTTP://a.b/./../x", "https://-a..b/",        "https://1.2.3.4/",
      "a+b.c-d://h/",      "https://a.b/x?q=1#f/?", "https://a.b/~!$&'()*+,;=:@",
      "https://a.b/?/'",   "https://a.b#f?g/h",
  };
  for (const char* text : plain) {
    const auto fast = parsePlainUrl(text);
    ASSERT_TRUE(fast) << text;
    EXPECT_EQ(described(fast), described(HostUrlParser::parseGenerally(text))) << text;
  }
}

// Left to the general parser, whichever way it decides: user names, ports, IP
// literals, escapes in the host, no authority, and text a URI cannot hold.
TEST(PlainUrlTest, LeavesEverythingElseToTheGeneralParser) {
  const char* other[] = {
      "https://user@a.b/",
      "https://a.b:8080/",
      "https://[::1]/",
      "https://a%41.b/",
      "https:///x",
      "mailto:ann@a.b",
      "https:a.b",
      "1https://a.b/",
      "https://a.b/%4",
      "https://a.b/x%zz",
      "https://a.b/x#f#g",
      "https://a.b/[x]",
      "https://a.b/?[",
      "https://a.b/a b",
      "https://a_b.c/",
      "https://bücher.de/",
      "https://a.b/\xc3\xa9",
      "://a.b",
      "",
      "https://a.b/\"",
  };
  const HostUrlParser parser;
  for (const char* text : other) {
    EXPECT_FALSE(parsePlainUrl(text)) << text;
    EXPECT_EQ(described(parser.parse(text)), described(HostUrlParser::parseGenerally(text))) << text;
  }
}

}  // namespace
}  // namespace routelle
