// The platform's detector reads UTF-16; its matches must come back as the exact
// bytes and the unit counts the rest of the program uses.
#include "platform/macos/Utf16Text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/Text.h"

namespace {

using routelle::LinkMatch;
using routelle::macos::Utf16Text;

// The units of the substring `part` of `text`, found by bytes.
std::optional<LinkMatch> linkOf(const std::string& text, const std::string& part) {
  const Utf16Text decoded(text);
  const auto at = text.find(part);
  const auto location = routelle::text::characterCount(text.substr(0, at));
  return decoded.link(location, routelle::text::characterCount(part));
}

TEST(Utf16Text, CountsUnitsAsTheProgramDoes) {
  for (const std::string text : {"", "plain", "caf\xC3\xA9", "\xF0\x9F\x98\x80 smile",
                                 "a\xFF\xFE"
                                 "b",
                                 "\xE2\x82"})
    EXPECT_EQ(Utf16Text(text).units().size(), routelle::text::characterCount(text)) << text;
}

TEST(Utf16Text, MapsMatchesBackToTheBytesAroundWideCharacters) {
  const std::string text = "caf\xC3\xA9 \xF0\x9F\x98\x80 https://example.com/\xC3\xA9t\xC3\xA9 end";
  const auto link = linkOf(text, "https://example.com/\xC3\xA9t\xC3\xA9");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->text, "https://example.com/\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(link->location, 8u);  // four units of "café ", two of the emoji and a blank
  EXPECT_EQ(link->length, 23u);
}

TEST(Utf16Text, IllFormedBytesAreNeverPartOfALink) {
  const std::string text =
      "see example.com/a\xFF"
      "b next";
  const Utf16Text decoded(text);
  // The detector may run the match over the replacement character; the link stops before it.
  const auto link = decoded.link(4, 15);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->text, "example.com/a");
  EXPECT_EQ(link->length, 13u);
  EXPECT_FALSE(decoded.link(17, 2)) << "a match that starts on ill-formed bytes is no link";
}

TEST(Utf16Text, MatchesOutsideTheTextAreRefused) {
  const Utf16Text decoded("short");
  EXPECT_FALSE(decoded.link(6, 1));
  EXPECT_FALSE(decoded.link(2, 4));
  EXPECT_FALSE(decoded.link(3, static_cast<std::size_t>(-1)));
  EXPECT_FALSE(decoded.link(0, 0));
  EXPECT_EQ(decoded.link(0, 5)->text, "short");
}

}  // namespace
