#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "selection/SelectionTestApp.h"

namespace routelle {
namespace {

class SelectionMonitorTest : public test::SelectionTestApp {
 protected:
  std::size_t count(const std::string& line) { return std::count(transcript().begin(), transcript().end(), line); }
  void hide() { app.events.deliver(EventType::keyDown); }
};

TEST_F(SelectionMonitorTest, PlainTextOffersThePanelAndALinkTheBrowsers) {
  struct Case {
    std::string selected;
    std::string link;   // the current link afterwards
    std::string shown;  // "panel" or "browsers"
  };
  std::string long_text;
  while (long_text.size() < (1u << 20)) long_text += "lorem ipsum dolor ";
  const std::vector<Case> cases{
      {"two words", "http://two words", "panel"},
      {"a text with http:// in the middle", "http://a text with http:// in the middle", "panel"},
      {long_text, "http://" + long_text, "panel"},
      // Bytes that are no UTF-8 reach the program as U+FFFD.
      {"caf\xE9 au lait", "http://caf\xEF\xBF\xBD au lait", "panel"},
      // Only the link, not the selection around it.
      {"see example.com/page and more", "http://example.com/page", "browsers"},
      {"https://a.example/x then http://b.example", "https://a.example/x", "browsers"},
      {"read it at news.example.com", "http://news.example.com", "browsers"},
      // A link that names its scheme is kept as written, in any case; a host with a
      // port names none.
      {"HTTP://CAPS.example.org/A", "HTTP://CAPS.example.org/A", "browsers"},
      {"get ftp://ftp.example.org/pub/", "ftp://ftp.example.org/pub/", "browsers"},
      {"at example.com:8080/x", "http://example.com:8080/x", "browsers"},
      // A mail address goes to the mail applications' menu, not the browsers.
      {"mail someone@example.com now", "mailto:someone@example.com", "mail"},
      {"MailTo:team@example.org", "MailTo:team@example.org", "mail"},
      // An emoji and a combining mark before the link: its range is in UTF-16 units.
      {"\xF0\x9F\x98\x80 e\xCC\x81 https://x.example/\xC3\xA9!", "https://x.example/\xC3\xA9", "browsers"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selected.substr(0, 60));
    hide();
    selectAndRelease(c.selected);
    EXPECT_EQ(currentLink(), c.link);
    EXPECT_EQ(shown(), c.shown == "mail" ? "" : c.shown);
    EXPECT_EQ(transcript().back() == "menu dismissed", c.shown == "mail");
    if (c.shown == "panel") {
      EXPECT_EQ(delegate().selectionPanel().selectedText(), c.link.substr(7));
    }
  }
}

TEST_F(SelectionMonitorTest, NoSelectionOrAnAccessibilityErrorShowsNothingAndChangesNothing) {
  using Setup = std::function<void(HostAccessibility&)>;
  const std::vector<std::pair<std::string, Setup>> cases{
      {"nothing selected", [](HostAccessibility& a) { a.focusElementSelecting(""); }},
      {"no focused element", [](HostAccessibility& a) { a.removeFocus(); }},
      {"focused element unreadable",
       [](HostAccessibility& a) {
         a.focusElementSelecting("text");
         a.focusedElementError = AccessibilityStatus::cannotComplete;
       }},
      {"selected text unsupported",
       [](HostAccessibility& a) {
         a.focusElementSelecting("text");
         a.selectedTextError = AccessibilityStatus::attributeUnsupported;
       }},
  };
  selectAndRelease("earlier words");
  hide();
  for (const auto& [what, setup] : cases) {
    SCOPED_TRACE(what);
    setup(app.accessibility);
    app.events.deliver(EventType::leftMouseUp);
    EXPECT_FALSE(windowVisible());
    EXPECT_EQ(currentLink(), "http://earlier words");
    EXPECT_EQ(delegate().selectionPanel().selectedText(), "earlier words");
    EXPECT_TRUE(delegate().selectionMonitor().ready());
    app.accessibility.focusedElementError = app.accessibility.selectedTextError = AccessibilityStatus::success;
  }
  selectAndRelease("later words");
  EXPECT_EQ(shown(), "panel");
}

TEST_F(SelectionMonitorTest, TheSettingIsReadAtEveryClick) {
  settings().setBool(keys::selectionAssistant, false);
  selectAndRelease("two words");
  EXPECT_FALSE(windowVisible());

  app.system.standard.remove(keys::selectionAssistant);
  selectAndRelease("two words");
  EXPECT_FALSE(windowVisible());
  EXPECT_EQ(settings().getBool(keys::selectionAssistant), false);  // stored off at the first click

  settings().setBool(keys::selectionAssistant, true);
  selectAndRelease("two words");
  EXPECT_EQ(shown(), "panel");
}

TEST_F(SelectionMonitorTest, MissingTrustPromptsOnceAndQuietensTheAssistantForTheRun) {
  app.accessibility.setTrusted(false);
  selectAndRelease("two words");
  selectAndRelease("two words");
  EXPECT_EQ(count("accessibility prompt shown"), 1u);
  EXPECT_FALSE(delegate().selectionMonitor().ready());

  app.accessibility.setTrusted(true);
  selectAndRelease("two words");
  EXPECT_FALSE(windowVisible());
  EXPECT_EQ(count("accessibility prompt shown"), 1u);
}

TEST_F(SelectionMonitorTest, DragsCheckTwoSecondsLaterAndFindTheShownPanel) {
  app.accessibility.focusElementSelecting("dragged words");
  app.events.deliver(EventType::leftMouseDragged);
  app.runLoop.advance(1.9);
  EXPECT_FALSE(windowVisible());
  app.runLoop.advance(0.2);
  EXPECT_EQ(shown(), "panel");

  // A drag of a second, then the release: one panel, whatever the later checks find.
  hide();
  const std::size_t shownBefore = std::count_if(transcript().begin(), transcript().end(),
                                                [](const std::string& l) { return l.starts_with("window at"); });
  for (int i = 0; i < 5; ++i) {
    app.events.deliver(EventType::leftMouseDragged);
    app.runLoop.advance(0.2);
  }
  app.events.deliver(EventType::leftMouseUp);
  // Whatever is selected by the time the later checks run, the shown panel stays as it is.
  app.accessibility.focusElementSelecting("now a link: example.com");
  app.runLoop.advance(3);
  const std::size_t shownAfter = std::count_if(transcript().begin(), transcript().end(),
                                               [](const std::string& l) { return l.starts_with("window at"); });
  EXPECT_EQ(shownAfter - shownBefore, 1u);
  EXPECT_EQ(shown(), "panel");
  EXPECT_EQ(currentLink(), "http://dragged words");
}

TEST_F(SelectionMonitorTest, EventsInOtherApplicationsHideTheWindowAndKeepTheSelection) {
  const EventType hiding[] = {EventType::keyDown,          EventType::keyUp,          EventType::flagsChanged,
                              EventType::leftMouseDragged, EventType::rightMouseDown, EventType::leftMouseDown};
  for (EventType type : hiding) {
    SCOPED_TRACE(static_cast<unsigned>(type));
    selectAndRelease("two words");
    ASSERT_EQ(shown(), "panel");
    app.accessibility.focusElementSelecting("");
    app.events.deliver(type);
    EXPECT_FALSE(windowVisible());
    EXPECT_FALSE(delegate().floatingWindow().isShowing());
    EXPECT_EQ(currentLink(), "http://two words");
    EXPECT_EQ(delegate().selectionPanel().selectedText(), "two words");
  }
  // The right-click monitor runs only while the window shows.
  EXPECT_EQ(app.events.monitorCount(), 3u);
  selectAndRelease("two words");
  EXPECT_EQ(app.events.monitorCount(), 4u);
}

TEST(SelectionBeforeStartUpTest, EventsBeforeTheWindowExistsAreIgnored) {
  test::TempDir dir;
  HostApp app(dir.path(), test::openCommandPath());
  app.accessibility.setTrusted(true);
  app.system.settings.setBool(keys::selectionAssistant, true);
  app.delegate.awakeFromNib();
  app.delegate.applicationWillFinishLaunching();
  app.accessibility.focusElementSelecting("two words");
  app.events.deliver(EventType::leftMouseUp);
  EXPECT_FALSE(app.presenter.floatingWindowVisible());
  EXPECT_TRUE(app.delegate.selectionMonitor().ready());
  app.delegate.applicationDidFinishLaunching();
  app.events.deliver(EventType::leftMouseUp);
  EXPECT_TRUE(app.presenter.floatingWindowVisible());
}

}  // namespace
}  // namespace routelle
