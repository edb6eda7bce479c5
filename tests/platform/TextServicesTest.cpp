// The Unicode work behind the TextServices port: what the core gets through
// support/Text, with the host's services installed and without any.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/HostTextServices.h"
#include "support/Text.h"

namespace routelle {
namespace {

class TextServicesTest : public testing::Test {
 protected:
  void SetUp() override { text::useServices(&HostTextServices::shared()); }
  void TearDown() override { text::useServices(&HostTextServices::shared()); }
};

TEST_F(TextServicesTest, MapsCaseBeyondAscii) {
  struct Case {
    const char* in;
    const char* lower;
    const char* capitalized;
  };
  for (const Case& c :
       {Case{"ÉCOLE Über", "école über", "École Über"}, Case{"opera developer", "opera developer", "Opera Developer"},
        Case{"  brave\tbrowser", "  brave\tbrowser", "  Brave\tBrowser"}}) {
    EXPECT_EQ(text::lowercased(c.in), c.lower) << c.in;
    EXPECT_EQ(text::capitalized(c.in), c.capitalized) << c.in;
  }
  EXPECT_TRUE(text::equalsIgnoringCase("STRASSE", "strasse"));
  EXPECT_TRUE(text::equalsIgnoringCase("Über", "üBER"));
  EXPECT_FALSE(text::equalsIgnoringCase("Uber", "Über"));
}

TEST_F(TextServicesTest, CountsComposedCharactersAsAReaderDoes) {
  const std::string family =
      "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";  // ZWJ sequence
  const std::string accented = "e\xCC\x81";                                        // e + acute
  EXPECT_EQ(text::composedCharacterPrefix(family + "ab", 1), family);
  EXPECT_EQ(text::composedCharacterPrefix(accented + accented + "x", 2), accented + accented);
  EXPECT_EQ(text::composedCharacterPrefix("abc", 3), "abc");
  EXPECT_EQ(text::composedCharacterPrefix("abc", 10), "abc");
  EXPECT_EQ(text::composedCharacterPrefix("abc", 0), "");
}

TEST_F(TextServicesTest, WithoutServicesOnlyAsciiLettersChange) {
  text::useServices(nullptr);
  EXPECT_EQ(text::lowercased("ÉCOLE"), "École");
  EXPECT_EQ(text::capitalized("brave browser"), "Brave Browser");
  EXPECT_TRUE(text::equalsIgnoringCase("Safari", "sAFARI"));
  EXPECT_FALSE(text::equalsIgnoringCase("École", "école"));
  // By code points, never inside one.
  EXPECT_EQ(text::composedCharacterPrefix("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
}

// UTF-8 as the platform's strings read it: each maximal ill-formed subsequence is
// one U+FFFD (one UTF-16 unit), a supplementary character two units.
TEST(Utf8Reading, ReplacesEachIllFormedPartOnce) {
  const std::string fffd = "\xEF\xBF\xBD";
  struct Case {
    std::string in;
    std::string wellFormed;
    std::size_t units;
  };
  for (const Case& c : {
           Case{"plain", "plain", 5}, Case{"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", 2},  // outside the BMP
           Case{"a\x80z", "a" + fffd + "z", 3},                                         // stray continuation byte
           Case{"\xE2\x82", fffd, 1},                                                   // truncated: one part
           Case{"\xE2\x82z", fffd + "z", 2},                                            // cut short by an ASCII byte
           Case{"\xC0\xAF", fffd + fffd, 2},                                            // overlong: each byte alone
           Case{"\xED\xA0\x80", fffd + fffd + fffd, 3},                                 // a surrogate
           Case{"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd, 4},                      // past U+10FFFF
           Case{"\xF0\x9F\x98", fffd, 1},                                               // truncated four-byte sequence
       }) {
    EXPECT_EQ(text::withReplacementCharacters(c.in), c.wellFormed);
    EXPECT_EQ(text::characterCount(c.in), c.units);
  }
}

}  // namespace
}  // namespace routelle
