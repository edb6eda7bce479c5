#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/host/HostScriptRunner.h"
#include "selection/KeystrokeScripts.h"
#include "selection/SelectionTestApp.h"
#include "support/Text.h"

namespace routelle {
namespace {

using ::testing::ElementsAre;
using ::testing::Lt;

class SelectionPanelTest : public test::SelectionTestApp {
 protected:
  void press(const char* action) { ASSERT_TRUE(delegate().perform(action, MenuItem{})); }
  void bringToFront(const std::string& name) {
    auto& workspace = app.system.workspace;
    workspace.setFrontmostApplication(name.empty() ? std::nullopt
                                                   : std::optional(workspace.runningApplicationNamed(name)));
  }
  std::vector<std::string> scriptLog() {
    std::vector<std::string> lines;
    std::ifstream in(routelle::scriptLog(app.system.world));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  static std::string logged(const std::string& front, std::string_view script) {
    return front + "\t" + text::replaceAll(script, "\n", "\\n");
  }
};

// Every byte a query value cannot hold as it is gets encoded, so that the search
// is for exactly what was selected; a second press searches for it again.
TEST_F(SelectionPanelTest, SearchLooksForTheTextAsItWasSelected) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"two words", "https://duckduckgo.com/?q=two%20words"},
      {"line1\nline2\r\n\tend", "https://duckduckgo.com/?q=line1%0Aline2%0D%0A%09end"},
      {"AT&T", "https://duckduckgo.com/?q=AT%26T"},
      {"C# + F#", "https://duckduckgo.com/?q=C%23%20%2B%20F%23"},
      {"100% sure; a=b", "https://duckduckgo.com/?q=100%25%20sure%3B%20a%3Db"},
      {"see http:// here", "https://duckduckgo.com/?q=see%20%20here"},
      {"\"<q>\" [a] {b} |c| \\ ^`",
       "https://duckduckgo.com/?q=%22%3Cq%3E%22%20%5Ba%5D%20%7Bb%7D%20%7Cc%7C%20%5C%20%5E%60"},
      {"\xC3\xBC/?=", "https://duckduckgo.com/?q=%C3%BC/?%3D"},
      {"it's (1*2), $5 @ a:b! ~x_y.z-w", "https://duckduckgo.com/?q=it's%20(1*2),%20$5%20@%20a:b!%20~x_y.z-w"},
      {"del\x7F", "https://duckduckgo.com/?q=del%7F"},
  };
  for (const auto& [selected, link] : cases) {
    SCOPED_TRACE(selected);
    selectAndRelease(selected);
    ASSERT_EQ(shown(), "panel");
    press("searchs");
    EXPECT_EQ(currentLink(), link);
    // The pop-up list opens over the panel, which stays until a pick or an outside event.
    EXPECT_EQ(transcript().back(), "menu dismissed");
    EXPECT_EQ(shown(), "panel");
    press("searchs");
    EXPECT_EQ(currentLink(), link);
    app.events.deliver(EventType::keyDown);
  }

  settings().setBool(keys::imagesOnlyChooser, true);
  selectAndRelease("two words");
  press("searchs");
  EXPECT_EQ(shown(), "browsers");
  click("Firefox");
  EXPECT_FALSE(windowVisible());
  EXPECT_THAT(launches(), ElementsAre("Firefox https://duckduckgo.com/?q=two%20words"));
}

TEST_F(SelectionPanelTest, CopyHandsTheFocusBackAndPutsTheWholeSelectionOnThePasteboard) {
  selectAndRelease("first line\nsecond line\n");
  bringToFront("Routelle");
  press("toClip");
  EXPECT_EQ(app.generalPasteboard.string(), "first line\nsecond line\n");
  EXPECT_FALSE(windowVisible());
  EXPECT_EQ(app.system.workspace.frontmostApplication()->localizedName, "TextEdit");
  EXPECT_EQ(transcript().back(), "window closed");
}

TEST_F(SelectionPanelTest, PasteAndDeleteTypeIntoTheSourceApplicationHalfASecondLater) {
  struct Case {
    const char* action;
    std::string_view script;
    std::string keystroke;
  };
  const Case cases[] = {
      {"autoPaste", kPasteScript, "System Events: keystroke \"v\" using command"},
      {"autoDelete", kDeleteScript, "System Events: keystroke \"\xE2\x8C\xAB\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    selectAndRelease("two words");
    bringToFront("Routelle");
    press(c.action);
    EXPECT_FALSE(windowVisible());
    EXPECT_EQ(transcript().back(), "window closed");
    app.runLoop.advance(0.49);
    EXPECT_EQ(transcript().back(), "window closed");
    app.runLoop.advance(0.02);
    EXPECT_EQ(transcript().back(), c.keystroke);
    EXPECT_THAT(positionOf("activated TextEdit"), Lt(positionOf(c.keystroke)));
    EXPECT_EQ(scriptLog().back(), logged("TextEdit", c.script));
    bringToFront("TextEdit");
  }

  // Shown while no application had a name: nothing is reactivated (not even the source
  // of a panel an outside click closed before), the keystroke goes to whatever is in
  // front when it is typed.
  selectAndRelease("two words");
  app.events.deliver(EventType::keyDown);
  bringToFront("");
  selectAndRelease("two words");
  const std::size_t before = transcript().size();
  press("autoPaste");
  bringToFront("Safari");
  app.runLoop.advance(0.5);
  EXPECT_EQ(std::find(transcript().begin() + static_cast<long>(before), transcript().end(), "activated TextEdit"),
            transcript().end());
  EXPECT_EQ(scriptLog().back(), logged("Safari", kPasteScript));
}

}  // namespace
}  // namespace routelle
