// What a click prints of the status menu: only the lines that changed, each
// group headed by the submenu it is in.
#include "platform/host/MenuDescription.h"

#include <gtest/gtest.h>

#include "support/MenuBuilders.h"

namespace routelle {
namespace {

using test::entry;
using test::menuOf;
using test::submenu;

Menu sample() {
  return menuOf(
      {entry("✓Show Browsers List"), MenuItem::separatorItem(), submenu("Per Domain", {entry("Add domains...")}),
       submenu("Preferences...",
               {entry("   Open in background", "openBack"), submenu("   Rules", {entry("Export"), entry("Import")})}),
       entry("Quit", "exit")});
}

TEST(MenuDescriptionTest, LinesKnowTheEntriesTheyAreUnder) {
  const auto lines = menuLines(sample());
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[1].text, "---");
  EXPECT_EQ(lines[7], (MenuLine{"    Export\tact:", "Preferences... > Rules", "Preferences... > Rules > Export"}));
}

TEST(MenuDescriptionTest, OnlyWhatChangedIsPrintedUnderWhereItIs) {
  const struct {
    const char* what;
    Menu after;
    std::vector<std::string> printed;
  } cases[] = {
      {"nothing", sample(), {"menu unchanged"}},
      {"a state mark in a submenu",
       menuOf({entry("✓Show Browsers List"), MenuItem::separatorItem(),
               submenu("Per Domain", {entry("Add domains...")}),
               submenu("Preferences...", {entry("✓Open in background", "openBack"),
                                          submenu("   Rules", {entry("Export"), entry("Import")})}),
               entry("Quit", "exit")}),
       {"menu changed in \"Preferences...\":", "-     Open in background\topenBack",
        "+  ✓Open in background\topenBack"}},
      {"an entry with a submenu, and a separate change at the top",
       menuOf({entry("Show Browsers List"), MenuItem::separatorItem(),
               submenu("Per Domain", {submenu("example.com", {entry("Delete", "deletar:")}), entry("Add domains...")}),
               submenu("Preferences...", {entry("   Open in background", "openBack"),
                                          submenu("   Rules", {entry("Export"), entry("Import")})}),
               entry("Quit", "exit")}),
       {"menu changed at the top level:", "-✓Show Browsers List\tact:", "+Show Browsers List\tact:",
        "menu changed in \"Per Domain\":", "+  example.com", "+    Delete\tdeletar:"}},
      {"the same entry under another submenu, and the last ones gone",
       menuOf({entry("✓Show Browsers List"), MenuItem::separatorItem(),
               submenu("Per Domain", {entry("Add domains..."), entry("Export")})}),
       {"menu changed at the top level:", "-Preferences...", "-     Open in background\topenBack", "-     Rules",
        "-    Export\tact:", "-    Import\tact:", "-Quit\texit", "menu changed in \"Per Domain\":", "+  Export\tact:"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(describeMenuChanges(menuLines(sample()), menuLines(c.after)), c.printed) << c.what;
}

// Numbers print as a stream prints them, which transcripts and golden files hold.
TEST(MenuDescriptionTest, NumbersKeepSixSignificantDigitsAndNoTrailingZeros) {
  const std::pair<double, const char*> numbers[] = {
      {20.0, "20"},
      {0.5, "0.5"},
      {-0.0, "-0"},
      {16.0 / 3.0, "5.33333"},
      {1234567.0, "1.23457e+06"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {1e300, "1e+300"},
      {100000.0, "100000"},
      {999999.0, "999999"},
      {1000000.0, "1e+06"},
      {-999999.0, "-999999"},
      {-1000000.0, "-1e+06"},
      {-20.0, "-20"},
      {0.0, "0"},
      {999999.5, "1e+06"},
      {1e18, "1e+18"},
  };
  for (const auto& [value, printed] : numbers) EXPECT_EQ(describeNumber(value), printed) << printed;
}

}  // namespace
}  // namespace routelle
