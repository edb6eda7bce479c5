#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using test::openRun;
using ::testing::ElementsAre;
using ::testing::Lt;

const std::string kClose = "            Close";

class BrowsersListChooserTest : public test::AppTest {
 protected:
  // The URL row's text field: its frame and line limit.
  std::pair<Rect, int> urlField(const std::string& link) {
    delegate().linkRequest().setCurrentLink(link);
    delegate().chooser().buildBrowsersListMenu();
    const auto& row = delegate().chooser().menu().items.back();
    if (!row.view || row.view->subviews.empty()) return {};
    return {row.view->subviews[0].frame, row.view->subviews[0].maximumNumberOfLines};
  }
};

TEST_F(BrowsersListChooserTest, KnownBrowsersInTableOrderThenAddedOnes) {
  install("Vivaldi", "com.vivaldi.Vivaldi");
  install("Opera Developer", "com.operasoftware.OperaDeveloper");
  install("Firefox", "org.mozilla.firefox");
  install("Opera", "com.operasoftware.Opera");
  install("Safari", "com.apple.Safari");
  install("Arc", "company.thebrowser.Browser");
  ASSERT_TRUE(app.system.registry.addBrowserNamed("Arc"));

  delegate().chooser().buildBrowsersListMenu();
  const auto& items = delegate().chooser().menu().items;
  ASSERT_THAT(test::titles(delegate().chooser().menu()),
              ElementsAre("Safari", "Firefox", "Opera", "Vivaldi", "Opera Developer", "Arc.app"));
  EXPECT_EQ(items[3].keyEquivalent, "Vivaldi");
  EXPECT_EQ(items[3].action, "openx:");
  EXPECT_EQ(items[3].image.name, "/Applications/Vivaldi.app");
  EXPECT_EQ(items[5].keyEquivalent, "Arc.app");
  // The Share extension reads the added browsers from the shared suite.
  EXPECT_EQ(settings().getObject(keys::addedBrowsers, Domain::suite), settings().getObject(keys::addedBrowsers));

  settings().setString(keys::hiddenBrowsers, "Opera Developer");
  delegate().chooser().buildBrowsersListMenu();
  EXPECT_THAT(test::titles(delegate().chooser().menu()), ElementsAre("Safari", "Firefox", "Vivaldi", "Arc.app"));
  settings().setString(keys::hiddenBrowsers, "");
  delegate().chooser().buildBrowsersListMenu();
  EXPECT_EQ(delegate().chooser().menu().items.size(), 6u);
}

TEST_F(BrowsersListChooserTest, CloseEntryOfThePopUpAndOfTheWindow) {
  installCommonApps();
  settings().setBool(keys::hideChooserClose, false);
  settings().setString(keys::hiddenBrowsers, "Google Chrome");
  delegate().chooser().showBrowsersList();
  const auto& close = delegate().chooser().menu().items.back();
  EXPECT_THAT(test::titles(delegate().chooser().menu()), ElementsAre("Safari", "Firefox", kClose));
  EXPECT_EQ(close.keyEquivalent, "c");
  EXPECT_EQ(close.action, "xNada");
  EXPECT_TRUE(close.image.empty());

  settings().setBool(keys::imagesOnlyChooser, true);
  delegate().chooser().showBrowsersList();
  ASSERT_TRUE(app.presenter.window());
  const auto& last = app.presenter.window()->content.subviews.back();
  EXPECT_EQ(last.keyEquivalent, kClose);
  EXPECT_EQ(last.image.name, "close");
  click(kClose);
  EXPECT_FALSE(app.presenter.floatingWindowVisible());
  EXPECT_EQ(transcript().back(), "window closed");
  EXPECT_TRUE(runsSince().empty());
}

TEST_F(BrowsersListChooserTest, UrlRowGrowsWithLongLinks) {
  settings().setBool(keys::hideChooserUrl, false);
  auto link = [](size_t characters) { return "https://" + std::string(characters - 8, 'a'); };
  EXPECT_EQ(urlField(link(89)), std::make_pair(Rect{0, 0, 210, 20}, 0));
  EXPECT_EQ(urlField(link(90)), std::make_pair(Rect{0, 0, 210, 60}, 3));
  EXPECT_EQ(urlField(link(96)), std::make_pair(Rect{0, 0, 210, 60}, 3));
  EXPECT_EQ(urlField(link(97)), std::make_pair(Rect{0, 0, 210, 80}, 4));
  // Characters, not bytes: 89 two-byte letters are still one line.
  std::string accented = "https://";
  for (int i = 0; i < 81; ++i) accented += "é";
  EXPECT_EQ(urlField(accented), std::make_pair(Rect{0, 0, 210, 20}, 0));
  // A system that cannot wrap keeps one line.
  app.systemInfo.minor = 10;
  EXPECT_EQ(urlField(link(200)), std::make_pair(Rect{0, 0, 210, 20}, 0));
}

TEST_F(BrowsersListChooserTest, FloatingWindowClosesBeforeTheLaunch) {
  installCommonApps();
  settings().setBool(keys::imagesOnlyChooser, true);
  delegate().linkRequest().setCurrentLink("https://example.org/");
  delegate().chooser().showBrowsersList();
  ASSERT_TRUE(app.presenter.window());
  EXPECT_EQ(app.presenter.window()->frame, (Rect{0, 0, 150, 50}));
  std::vector<std::string> keys;
  for (const auto& view : app.presenter.window()->content.subviews) keys.push_back(view.keyEquivalent);
  EXPECT_THAT(keys, ElementsAre("Safari", "Firefox", "Google Chrome"));

  settings().setBool(keys::hideChooserUrl, false);
  delegate().chooser().showBrowsersList();
  EXPECT_EQ(app.presenter.window()->frame, (Rect{0, 0, 150, 70}));
  EXPECT_EQ(app.presenter.window()->content.subviews[0].frame, (Rect{0, 50, 150, 20}));

  click("Firefox");
  const auto run = openRun({"-a", "/Applications/Firefox.app", "https://example.org/"});
  EXPECT_THAT(runsSince(), ElementsAre(run));
  EXPECT_THAT(positionOf("window closed"), Lt(positionOf(run)));
  EXPECT_THAT(launches(), ElementsAre("Firefox https://example.org/"));
}

}  // namespace
}  // namespace routelle
