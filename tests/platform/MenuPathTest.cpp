#include "platform/host/MenuPath.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/MenuBuilders.h"

namespace routelle {
namespace {

using test::entry;
using test::submenu;

using ::testing::HasSubstr;

// A menu with the marks the status menu uses: "✓" before an entry that is on,
// three blanks before one that is off, "  ✓" after the selected browser.
Menu sample() {
  Menu menu;
  menu.items = {
      entry("✓Show Browsers List"),
      MenuItem::separatorItem(),
      submenu("Preferences...", {entry("   Open in background", "openBack"), entry("✓Use colored icon", "changeIcon"),
                                 entry("", "slideMove:"), entry("Rules"), entry("   Rules", "other")}),
      submenu("Temporally open with:", {entry("Safari"), entry("Firefox  ✓"), entry("✓Firefox", "twin")}),
      entry("Quit", "exit"),
  };
  return menu;
}

TEST(MenuPathTest, TitlesMatchExactlyOrBare) {
  const Menu menu = sample();
  const struct {
    const char* path;
    const char* title;  // of the entry reached
    const char* action;
  } found[] = {
      {"✓Show Browsers List", "✓Show Browsers List", "act:"},
      {"Show Browsers List", "✓Show Browsers List", "act:"},
      {"   Show Browsers List", "✓Show Browsers List", "act:"},
      {"Preferences... > Open in background", "   Open in background", "openBack"},
      {"Preferences... > ✓Open in background", "   Open in background", "openBack"},
      {"Preferences... >    Use colored icon", "✓Use colored icon", "changeIcon"},
      // An exact title wins over a loose one.
      {"Preferences... > Rules", "Rules", "act:"},
      {"Preferences... >    Rules", "   Rules", "other"},
      {"Temporally open with: > Firefox  ✓", "Firefox  ✓", "act:"},
      {"Temporally open with: > ✓Firefox", "✓Firefox", "twin"},
      {"Preferences...", "Preferences...", ""},
  };
  for (const auto& f : found) {
    const auto match = findMenuEntry(menu, f.path, {});
    ASSERT_TRUE(match.item) << f.path << ": " << match.problem;
    EXPECT_EQ(match.item->title, f.title) << f.path;
    EXPECT_EQ(match.item->action, f.action) << f.path;
  }
}

TEST(MenuPathTest, WhatIsNotReachedIsExplained) {
  const Menu menu = sample();
  const struct {
    const char* path;
    MenuPathRules rules;
    std::vector<std::string> named;
  } missed[] = {
      {"Preferences... > Hide",
       {},
       {"\"Preferences...\" has no entry \"Hide\"",
        "\"Open in background\", \"Use colored icon\", \"Rules\", \"Rules\""}},
      {"Nothing", {}, {"the menu has no entry \"Nothing\"; it offers \"Show Browsers List\", \"Preferences...\""}},
      {"Quit > Now", {}, {"\"Quit\" has no submenu"}},
      // Two loose matches and no exact one: the caller must say which.
      {"Temporally open with: > Firefox", {}, {"could be any of \"Firefox  ✓\", \"✓Firefox\""}},
      {"Preferences", {}, {"no entry \"Preferences\""}},
      {"Preferences... > slideMove:", {}, {"no entry \"slideMove:\""}},
      {"Preferences...", {.leafOnly = true}, {"\"Preferences...\" opens a submenu"}},
      {"", {}, {"the menu has no entry \"\""}},
  };
  for (const auto& m : missed) {
    const auto match = findMenuEntry(menu, m.path, m.rules);
    EXPECT_FALSE(match.item) << m.path;
    for (const auto& words : m.named) EXPECT_THAT(match.problem, HasSubstr(words)) << m.path;
  }
  // An entry without a title goes by its action where the caller allows it.
  const auto slider = findMenuEntry(menu, "Preferences... > slideMove:", {.untitledByAction = true});
  ASSERT_TRUE(slider.item);
  EXPECT_EQ(slider.item->action, "slideMove:");
  EXPECT_THAT(findMenuEntry(menu, "Preferences... > x", {.untitledByAction = true}).problem,
              HasSubstr("\"slideMove:\""));
}

}  // namespace
}  // namespace routelle
