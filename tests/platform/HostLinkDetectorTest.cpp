#include "platform/host/HostLinkDetector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Text.h"

namespace routelle {
namespace {

struct Case {
  std::string text;
  std::vector<LinkMatch> links;
};

const HostLinkDetector detector;

void expectLinks(const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(detector.findLinks(c.text), c.links) << "in: " << c.text;
}

TEST(HostLinkDetectorTest, FindsEachKindOfLink) {
  expectLinks({
      {"Visit EXAMPLE.COM today", {{6, 11, "EXAMPLE.COM"}}},
      {"see https://a.example/x?y=1#z.", {{4, 25, "https://a.example/x?y=1#z"}}},
      {"HTTP://Example.org/A", {{0, 20, "HTTP://Example.org/A"}}},
      {"mail me at a.b@example.co.uk!", {{11, 17, "a.b@example.co.uk"}}},
      {"write to MAILTO:info@example.de", {{9, 22, "MAILTO:info@example.de"}}},
      {"www.example.test/a", {{0, 18, "www.example.test/a"}}},
      {"ftp://files.example.net:2121/pub", {{0, 32, "ftp://files.example.net:2121/pub"}}},
      {"http://localhost:8080/status", {{0, 28, "http://localhost:8080/status"}}},
      {"http://[::1]:631/", {{0, 17, "http://[::1]:631/"}}},
      {"example.com:8080/path?q=1", {{0, 25, "example.com:8080/path?q=1"}}},
      {"url=http://example.com", {{4, 18, "http://example.com"}}},
  });
}

TEST(HostLinkDetectorTest, LeavesOutWhatIsNoLink) {
  expectLinks({{"notalink", {}},
               {"file.txt", {}},
               {"version 1.2.3", {}},
               {"localhost", {}},
               {"foo.invalid", {}},
               {"http://", {}},
               {"http:// and more", {}},
               {"see http://.", {}},
               {"xhttp://example.com", {}},
               {"user@localhost", {}},
               {"e.g. this, i.e. that", {}},
               {"example.com_x", {}},
               {"www.", {}},
               {"foo-.com", {}},
               {"key=example.com", {}},
               {"example.com@x", {}},
               {"sub/example.com", {}}});
}

TEST(HostLinkDetectorTest, LeavesOutPunctuationAndUnbalancedBrackets) {
  expectLinks({
      {"(www.example.org)", {{1, 15, "www.example.org"}}},
      {"Look: https://en.wikipedia.org/wiki/Mercury_(planet).",
       {{6, 46, "https://en.wikipedia.org/wiki/Mercury_(planet)"}}},
      {"(see https://example.com/a)", {{5, 21, "https://example.com/a"}}},
      {"[https://example.com/a[1]]", {{1, 24, "https://example.com/a[1]"}}},
      {"Really? example.com!", {{8, 11, "example.com"}}},
      {"https://example.com/a...", {{0, 21, "https://example.com/a"}}},
      {"<https://example.com>", {{1, 19, "https://example.com"}}},
      {"\xE2\x80\x9Chttps://example.com/q\xE2\x80\x9D", {{1, 21, "https://example.com/q"}}},
      {"example.com's page", {{0, 11, "example.com"}}},
  });
}

TEST(HostLinkDetectorTest, CountsRangesInUtf16Units) {
  expectLinks({
      {"\xF0\x9F\x98\x80 example.com", {{3, 11, "example.com"}}},                             // emoji: 2 units
      {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDhttps://x.example", {{4, 17, "https://x.example"}}},  // emoji + tone
      {"e\xCC\x81 example.com", {{3, 11, "example.com"}}},                                    // combining accent
      {"\xF0\x9D\x90\x80 www.example.org", {{3, 15, "www.example.org"}}},                     // letter beyond U+FFFF
      {"b\xC3\xBC"
       "cher.de/\xC3\xA4",
       {{0, 11,
         "b\xC3\xBC"
         "cher.de/\xC3\xA4"}}},
      {"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84",
       {{0, 9, "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84"}}},
      {"go to example.com", {{6, 11, "example.com"}}},
  });
}

TEST(HostLinkDetectorTest, ReportsEveryLinkInTextOrder) {
  expectLinks({
      {"a.com then http://b.org/x and c@d.net.", {{0, 5, "a.com"}, {11, 14, "http://b.org/x"}, {30, 7, "c@d.net"}}},
      {"example.com,example.org", {{0, 11, "example.com"}, {12, 11, "example.org"}}},
      {"file.txt, example.com, foo.invalid and b.org", {{10, 11, "example.com"}, {39, 5, "b.org"}}},
  });
}

// Ill-formed bytes count as one replacement character per maximal ill-formed
// sequence, the same count the rest of the program uses for the text's length.
TEST(HostLinkDetectorTest, ReadsInvalidUtf8AsReplacementCharacters) {
  expectLinks({
      {"\xFF example.com", {{2, 11, "example.com"}}},
      {"\xF0\x9F\x98 example.com", {{2, 11, "example.com"}}},  // truncated sequence: one
      {"\xE0\x80 example.com", {{3, 11, "example.com"}}},      // impossible second byte: two
      {"http://example.com/a\xFF"
       "b",
       {{0, 20, "http://example.com/a"}}},
      {"\xC0", {}},
      {std::string("a\0b example.com", 15), {{4, 11, "example.com"}}},
  });
  for (const std::string prefix : {"\xFF ", "\xF0\x9F\x98 ", "\xE0\x80 ", "\xED\xA0\x80 "})
    EXPECT_EQ(detector.findLinks(prefix + "x.com").at(0).location, text::characterCount(prefix));
}

TEST(HostLinkDetectorTest, HandlesEmptyAndMegabyteSelections) {
  EXPECT_TRUE(detector.findLinks("").empty());
  const std::size_t mb = 1 << 20;
  std::string prose;
  while (prose.size() < mb) prose += "lorem ipsum, dolor 1.2.3 sit amet. ";
  EXPECT_TRUE(detector.findLinks(prose).empty());
  EXPECT_EQ(detector.findLinks(prose + "example.com"), (std::vector<LinkMatch>{{prose.size(), 11, "example.com"}}));

  std::string glued;  // one token, no break anywhere
  while (glued.size() < mb) glued += "a.b/c@d:";
  EXPECT_TRUE(detector.findLinks(glued).empty());

  const std::string longUrl = "https://example.com/" + std::string(mb, 'p');
  EXPECT_EQ(detector.findLinks(longUrl), (std::vector<LinkMatch>{{0, longUrl.size(), longUrl}}));
}

}  // namespace
}  // namespace routelle
