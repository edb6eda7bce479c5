#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/host/HostDefaults.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::ElementsAre;

const std::string kNotice = "Set Routelle as Default web browser?";

std::string describe(const ImageRef& image) {
  return image.name + " " + std::to_string(image.size.width) + "x" + std::to_string(image.size.height);
}

class StatusMenuTest : public test::AppTest {
 protected:
  // The entry reached through the menu by one exact title per level.
  MenuItem at(const std::vector<std::string>& path) {
    const Menu* menu = &delegate().statusMenu().menu();
    const MenuItem* found = nullptr;
    for (const auto& title : path) {
      found = nullptr;
      for (size_t i = 0; menu && !found && i < menu->items.size(); ++i)
        if (!menu->items[i].separator && menu->items[i].title == title) found = &menu->items[i];
      if (!found) {
        ADD_FAILURE() << "no entry \"" << title << "\"";
        return {};
      }
      menu = found->submenu.get();
    }
    return *found;
  }
  std::vector<std::string> titlesAt(const std::vector<std::string>& path) {
    const auto item = at(path);
    return item.submenu ? test::titles(*item.submenu) : std::vector<std::string>{};
  }
  std::string first() { return delegate().statusMenu().menu().items.at(0).title; }
  void setInterfaceStyle(const std::string& style) {
    HostDefaults global(app.system.world.preferencesFile(domains::global));
    global.set(keys::appleInterfaceStyle, style);
    ASSERT_TRUE(global.synchronize());
  }
};

TEST_F(StatusMenuTest, FirstRebuildWritesDefaultsAndListsEveryEntry) {
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(test::titles(delegate().statusMenu().menu()),
              ElementsAre("✓Show Browsers List", "Use the opened browser", "Temporally open with:", "Modifier keys", "",
                          "Rules", "Per Domain", "Per App", "Priority (Domain/App)", "", "Added browsers",
                          "Instructions", "Experimental", "Preferences...", "Browsers Extensions",
                          "Check for updates...", "About Routelle", "", "❗️" + kNotice, "", "Quit"));
  EXPECT_EQ(settings().getString(keys::login), "Show Browser List");
  EXPECT_EQ(settings().getString(keys::priority), "0");
  EXPECT_EQ(settings().getString(keys::hiddenBrowsers), "");
  EXPECT_EQ(settings().getInteger(keys::sharebehavior, Domain::suite), 0);
  EXPECT_EQ(settings().getBool(keys::hideAll), false);
  EXPECT_FALSE(at({"Rules"}).enabled);
  EXPECT_EQ(at({"Quit"}).keyEquivalent, "Q");
  EXPECT_EQ(at({"About Routelle"}).action, "dialogOKCancel2");
  // The Share extension's choice is built but offered nowhere.
  EXPECT_EQ(delegate().statusMenu().menu().find("Share Extension Behavior"), nullptr);
  EXPECT_EQ(delegate().statusMenu().menu().find("   Reset"), nullptr);
}

TEST_F(StatusMenuTest, CapturedUrlIsCutAfter35Characters) {
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(first(), "✓Show Browsers List");

  const std::string exact = "https://example.org/" + std::string(15, 'a');
  install("Google Chrome", "com.google.Chrome");
  showFrontTabs("Google Chrome", {exact});
  delegate().statusMenu().refreshMenu();
  app.runLoop.advance(0.1);
  EXPECT_EQ(first(), exact);
  EXPECT_EQ(delegate().statusMenu().menu().items[0].action, "linkUrl:");
  EXPECT_TRUE(delegate().statusMenu().menu().items[1].separator);

  showFrontTabs("Google Chrome", {exact + "b"});
  delegate().statusMenu().refreshMenu();
  app.runLoop.advance(0.1);
  EXPECT_EQ(first(), exact + "...");
  // Characters as a reader counts them: a flag, an accented letter made of two
  // code points and an emoji are one each, and none is ever cut.
  const std::string chars32 = "https://ex.org/🇫🇷e\u0301" + std::string(15, 'a');
  for (const auto& [url, title] : std::vector<std::pair<std::string, std::string>>{
           {chars32 + "😀🇩🇪zz", chars32 + "😀🇩🇪z..."}, {chars32 + "😀🇩🇪z", chars32 + "😀🇩🇪z"}}) {
    showFrontTabs("Google Chrome", {url});
    delegate().statusMenu().refreshMenu();
    app.runLoop.advance(0.1);
    EXPECT_EQ(first(), title);
  }
}

TEST_F(StatusMenuTest, DefaultChoiceIsCheckedOrReset) {
  installCommonApps();
  settings().setString(keys::login, "Firefox");
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Temporally open with:"}), ElementsAre("Safari", "", "Firefox  ✓", "", "Google Chrome", ""));
  EXPECT_EQ(describe(at({"Temporally open with:"}).image),
            describe(ImageRef::iconOf("/Applications/Firefox.app", {20, 20})));
  EXPECT_EQ(at({"Temporally open with:", "Google Chrome"}).keyEquivalent, "2");
  EXPECT_EQ(first(), "Show Browsers List");

  settings().setString(keys::login, "Use the opened browser");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(at({"✓Use the opened browser"}).keyEquivalent, "O");
  EXPECT_TRUE(at({"Temporally open with:"}).image.empty());

  settings().setString(keys::login, "Vivaldi");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(first(), "✓Show Browsers List");
  EXPECT_EQ(settings().getString(keys::login), "Show Browser List");
}

TEST_F(StatusMenuTest, HiddenAndAddedBrowsers) {
  installCommonApps();
  install("Arc", "company.thebrowser.Browser");
  settings().setList(keys::addedbrowsers, {""}, Domain::suite);
  delegate().statusMenu().fetchMenu();
  EXPECT_FALSE(settings().contains(keys::addedbrowsers, Domain::suite));

  ASSERT_TRUE(app.system.registry.addBrowserNamed("Arc"));
  app.system.registry.hideBrowsersWithSender("   Safari");
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Temporally open with:"}), ElementsAre("", "Firefox", "", "Google Chrome", "", "Arc", ""));
  EXPECT_EQ(at({"Temporally open with:", "Firefox"}).keyEquivalent, "1");
  EXPECT_THAT(titlesAt({"Preferences...", "   Hidden browsers"}),
              ElementsAre("✓Safari", "   Firefox", "   Google Chrome"));
  EXPECT_THAT(titlesAt({"Added browsers"}), ElementsAre("Add browser...", "Arc.app"));
  EXPECT_EQ(at({"Added browsers", "Arc.app", "Remove"}).keyEquivalent, "company.thebrowser.Browser");
  // A hidden browser is still a possible onion target.
  EXPECT_THAT(titlesAt({"Per Domain", ".onion domain suffix"}),
              ElementsAre("Safari", "Firefox", "Google Chrome", "Arc", "Disabled✓"));
}

TEST_F(StatusMenuTest, RuleSubmenusCarryTheirRules) {
  installCommonApps();
  settings().setList(keys::domains, {"", "example.com", "Firefox", "", "Safari", "news.org", "Vivaldi"});
  settings().setList(keys::perApp, {"", "Safari/*/*/*/*/Mail", "Opera/*/*/*/*/Notes"});
  settings().setString(keys::onion, "Firefox");
  settings().setString(keys::command, "Google Chrome");
  settings().setString(keys::shift, "Show Browsers List");
  settings().setString(keys::alt, "Vivaldi");
  settings().setBool("altback", true);
  delegate().statusMenu().fetchMenu();

  EXPECT_THAT(titlesAt({"Per Domain"}),
              ElementsAre("example.com", "news.org", "", "", ".onion domain suffix", "", "Add domains..."));
  EXPECT_EQ(at({"Per Domain", "example.com"}).image.name, "/Applications/Firefox.app");
  EXPECT_TRUE(at({"Per Domain", "news.org"}).image.empty());
  EXPECT_EQ(at({"Per Domain", "example.com", "Delete"}).keyEquivalent, "example.com");
  EXPECT_EQ(at({"Per Domain", "news.org", "Delete"}).action, "deletar:");
  EXPECT_EQ(at({"Per Domain", "Add domains..."}).keyEquivalent, "D");
  EXPECT_THAT(titlesAt({"Per Domain", ".onion domain suffix"}),
              ElementsAre("Safari", "Firefox ✓", "Google Chrome", "Disable rule"));

  EXPECT_THAT(titlesAt({"Per App"}), ElementsAre("Mail", "Notes", "", "Add app"));
  EXPECT_EQ(describe(at({"Per App", "Mail"}).image), describe(ImageRef::iconOf("/Applications/Safari.app", {20, 20})));
  EXPECT_TRUE(at({"Per App", "Notes"}).image.empty());
  EXPECT_EQ(at({"Per App", "Mail", "Delete"}).keyEquivalent, "Safari/*/*/*/*/Mail");
  EXPECT_EQ(at({"Per App", "Mail", "Delete"}).action, "deletarPerApp:");

  EXPECT_THAT(titlesAt({"Modifier keys"}), ElementsAre("Choose a browser to open with:", "Hold Modifier Key + Click",
                                                       "", "Command", "", "Shift", "", "Alt", "", "Ctrl", ""));
  EXPECT_EQ(at({"Modifier keys", "Command"}).image.name, "/Applications/Google Chrome.app");
  EXPECT_TRUE(at({"Modifier keys", "Shift"}).image.empty());
  EXPECT_EQ(at({"Modifier keys", "Alt"}).keyEquivalent, "alt");
  EXPECT_FALSE(settings().contains(keys::alt));
  EXPECT_FALSE(settings().contains("altback"));
  EXPECT_EQ(settings().getString(keys::shift), "Show Browsers List");

  settings().setString(keys::onion, "Vivaldi");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(titlesAt({"Per Domain", ".onion domain suffix"}).back(), "Disabled✓");
  EXPECT_FALSE(settings().contains(keys::onion));
}

TEST_F(StatusMenuTest, PriorityAndPreferencesFollowTheSettings) {
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Priority (Domain/App)"}), ElementsAre("✓Per Domain", "   Per App"));
  EXPECT_EQ(at({"Priority (Domain/App)", "   Per App"}).keyEquivalent, "perApp");
  settings().setString(keys::priority, "1");
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Priority (App/Domain)"}), ElementsAre("   Per Domain", "✓Per App"));

  app.system.updater.setAutomaticallyChecksForUpdates(true);
  app.system.launchServices.setDefaultHandler("mailto", "com.kestrova.routelle");
  settings().setBool(keys::hideExit, false);
  settings().setDouble(keys::menuBarIconSize, 22.0);
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(
      titlesAt({"Preferences..."}),
      ElementsAre("   Open in background", "   Menu Bar Only", "   Hide Menu Bar", "✓Automatically check for updates",
                  "   Rules", "   Hidden browsers", "   New Window Shortcut", "", "   Menu bar icon size", "",
                  "✓Use colored icon", "", "   Show only browser images", "   Support multiple file types",
                  "✓Show \"Close\" on Browsers List selection menu", "   Show url on Browsers List selection menu",
                  "✓Use Routelle for mailto: links", "", "   +Apps..."));
  const auto slider = at({"Preferences..."}).submenu->items[9];
  ASSERT_TRUE(slider.view && slider.view->subviews.size() == 1);
  EXPECT_EQ(slider.view->frame, (Rect{0, 0, 230, 40}));
  const View& knob = slider.view->subviews[0];
  EXPECT_EQ(knob.frame, (Rect{30, 10, 200, 20}));
  EXPECT_EQ(std::make_tuple(knob.minValue, knob.maxValue, knob.value, knob.numberOfTickMarks),
            std::make_tuple(16.0, 38.0, 22.0, 11));
  EXPECT_EQ(slider.action, "slideMove:");
}

TEST_F(StatusMenuTest, StatusIconFollowsColourSizeAndStyle) {
  delegate().statusMenu().fetchMenu();
  ASSERT_TRUE(app.presenter.statusItem());
  EXPECT_EQ(describe(app.presenter.statusItem()->image), describe(ImageRef::bundle("StatusBarButtonImage2")));
  settings().setDouble(keys::menuBarIconSize, 17.0);
  delegate().statusMenu().applyStatusIcon();
  EXPECT_EQ(describe(app.presenter.statusItem()->image), describe(ImageRef::bundle("StatusBarButtonImage2", {17, 17})));

  settings().setBool(keys::clicon, false);
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(app.presenter.statusItem()->image.name, "StatusBarButtonImage");
  setInterfaceStyle("Dark");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(app.presenter.statusItem()->image.name, "StatusBarButtonImage3");

  settings().setBool(keys::hideAll, true);
  delegate().statusMenu().fetchMenu();
  EXPECT_FALSE(app.presenter.statusItem());
  EXPECT_EQ(at({"Preferences...", "✓Hide Menu Bar"}).action, "hideAllOnly");
}

TEST_F(StatusMenuTest, DefaultBrowserNoticeFadesOverThreeRefreshes) {
  auto notice = [this] {
    delegate().statusMenu().fetchMenu();
    const auto& items = delegate().statusMenu().menu().items;
    return std::make_pair(app.presenter.statusItem()->title, items[items.size() - 3].title);
  };
  EXPECT_EQ(notice(), std::make_pair(std::string("?"), "❗️" + kNotice));
  EXPECT_EQ(notice(), std::make_pair(std::string(), "❗️" + kNotice));
  EXPECT_EQ(notice(), std::make_pair(std::string(), kNotice));
  EXPECT_EQ(at({kNotice}).action, "setBrowserDefault");

  app.system.launchServices.setDefaultHandler("http", "com.kestrova.Routelle");
  EXPECT_EQ(notice(), std::make_pair(std::string(), std::string("About Routelle")));
}

TEST_F(StatusMenuTest, UntrustedAccessibilityTurnsTheSelectionListOff) {
  settings().setBool(keys::experimental, true);
  const auto trusted = dir.path() / "Library" / "Accessibility" / "trusted";
  std::filesystem::create_directories(trusted.parent_path());
  std::ofstream(trusted).put('\n');
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Experimental"}),
              ElementsAre("✓Show List on text selection", "   Manipulate links inside browsers"));

  std::filesystem::remove(trusted);
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(settings().getBool(keys::experimental), false);
  EXPECT_EQ(at({"Experimental", "   Show List on text selection"}).action, "expActive");
}

TEST_F(StatusMenuTest, OpeningTheMenuCapturesTheFrontTabAndRebuildsATenthOfASecondLater) {
  install("Safari", "com.apple.Safari");
  showFrontTabs("Safari", {"https://example.org/"});
  delegate().menuWillOpen(delegate().statusMenu().menu());
  EXPECT_EQ(delegate().tabCapture().frontTabUrl(), "https://example.org/");
  app.runLoop.advance(0.05);
  EXPECT_TRUE(delegate().statusMenu().menu().items.empty());
  app.runLoop.advance(0.05);
  EXPECT_EQ(first(), "https://example.org/");

  // The status button does the same; a front application that is no browser leaves nothing.
  app.system.workspace.setFrontmostApplication(app.system.workspace.runningApplicationNamed("Finder"));
  delegate().perform("printQuote1:", MenuItem{});
  app.runLoop.advance(0.1);
  EXPECT_EQ(first(), "✓Show Browsers List");
}

}  // namespace
}  // namespace routelle
