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

std::string describe(const ImageRef& image) {
  return image.name + " " + std::to_string(image.size.width) + "x" + std::to_string(image.size.height);
}

class StatusMenuTest : public test::AppTest {
 protected:
  // The entry reached through the menu by one exact title per level.
  MenuItem at(const std::vector<std::string>& path) {
    const Menu* menu = &delegate().statusMenu().menu();
    const MenuItem* found = nullptr;
    std::vector<std::shared_ptr<const Menu>> opened;
    for (const auto& title : path) {
      found = nullptr;
      for (size_t i = 0; menu && !found && i < menu->items.size(); ++i)
        if (!menu->items[i].separator && menu->items[i].title == title) found = &menu->items[i];
      if (!found) {
        ADD_FAILURE() << "no entry \"" << title << "\"";
        return {};
      }
      opened.push_back(found->openSubmenu());
      menu = opened.back().get();
    }
    return *found;
  }
  std::vector<std::string> titlesAt(const std::vector<std::string>& path) {
    const auto item = at(path);
    const auto submenu = item.openSubmenu();
    return submenu ? test::titles(*submenu) : std::vector<std::string>{};
  }
  std::string first() { return delegate().statusMenu().menu().items.at(0).title; }
  void setInterfaceStyle(const std::string& style) {
    HostDefaults global(app.system.world.preferencesFile(domains::global));
    global.set(keys::appleInterfaceStyle, style);
    ASSERT_TRUE(global.synchronize());
  }
};

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

// The whole menu in given states is in the golden scenarios (tests/golden/menu-*);
// what they cannot show well is checked here.
TEST_F(StatusMenuTest, DefaultChoiceIsCheckedOrReset) {
  installCommonApps();
  // Without added browsers, the shared suite holds none either.
  settings().setList(keys::addedBrowsers, {""}, Domain::suite);
  settings().setString(keys::defaultChoice, "Firefox");
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Temporally open with:"}), ElementsAre("Safari", "", "Firefox  ✓", "", "Google Chrome", ""));
  EXPECT_EQ(describe(at({"Temporally open with:"}).image),
            describe(ImageRef::iconOf("/Applications/Firefox.app", {20, 20})));
  EXPECT_EQ(at({"Temporally open with:", "Google Chrome"}).keyEquivalent, "2");
  EXPECT_EQ(first(), "Show Browsers List");

  settings().setString(keys::defaultChoice, "Use the opened browser");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(at({"✓Use the opened browser"}).keyEquivalent, "O");
  EXPECT_TRUE(at({"Temporally open with:"}).image.empty());

  settings().setString(keys::defaultChoice, "Vivaldi");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(first(), "✓Show Browsers List");
  EXPECT_EQ(settings().getString(keys::defaultChoice), "Show Browser List");
  EXPECT_FALSE(settings().contains(keys::addedBrowsers, Domain::suite));
}

TEST_F(StatusMenuTest, ADefaultChoiceInAnySpellingTheLauncherTakesKeepsItsTickAndItsRouting) {
  installCommonApps();
  install("Arc", "company.thebrowser.Browser");
  ASSERT_TRUE(app.system.registry.addBrowserNamed("Arc"));
  for (const std::string login : {"Arc.app", "/Applications/Arc.app", "arc"}) {
    settings().setString(keys::defaultChoice, login);
    delegate().statusMenu().fetchMenu();
    EXPECT_THAT(titlesAt({"Temporally open with:"}),
                ElementsAre("Safari", "", "Firefox", "", "Google Chrome", "", "Arc  ✓", ""))
        << login;
    EXPECT_EQ(first(), "Show Browsers List") << login;
    EXPECT_EQ(settings().getString(keys::defaultChoice), login);
    const auto before = launches().size();
    route("https://example.org/");
    const auto after = launches();
    ASSERT_EQ(after.size(), before + 1) << login;
    EXPECT_THAT(after.back(), ::testing::StartsWith("Arc ")) << login;
  }
  // The onion rule's browser likewise.
  settings().setString(keys::onionRule, "Arc.app");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(titlesAt({"Per Domain", ".onion domain suffix"}).at(3), "Arc ✓");
  EXPECT_EQ(settings().getString(keys::onionRule), "Arc.app");
}

TEST_F(StatusMenuTest, ADomainListWithoutItsLeadingEmptyTextListsItsDomainsAndDeletesThem) {
  installCommonApps();
  settings().setList(keys::domainRules, {"a.com", "Firefox", "b.com", "Safari"});
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Per Domain"}),
              ElementsAre("a.com", "b.com", "", "", ".onion domain suffix", "", "Add domains..."));
  delegate().perform("deletar:", at({"Per Domain", "a.com", "Delete"}));
  EXPECT_EQ(settings().getList(keys::domainRules).items, (std::vector<std::string>{"", "b.com", "Safari"}));
}

TEST_F(StatusMenuTest, StatusIconFollowsColourSizeAndStyle) {
  delegate().statusMenu().fetchMenu();
  ASSERT_TRUE(app.presenter.statusItem());
  EXPECT_EQ(describe(app.presenter.statusItem()->image), describe(ImageRef::bundle("StatusBarButtonImage2")));
  settings().setDouble(keys::menuBarIconSize, 17.0);
  delegate().statusMenu().applyStatusIcon();
  EXPECT_EQ(describe(app.presenter.statusItem()->image), describe(ImageRef::bundle("StatusBarButtonImage2", {17, 17})));

  settings().setBool(keys::coloredIcon, false);
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(app.presenter.statusItem()->image.name, "StatusBarButtonImage");
  setInterfaceStyle("Dark");
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(app.presenter.statusItem()->image.name, "StatusBarButtonImage3");

  settings().setBool(keys::hideMenuBar, true);
  delegate().statusMenu().fetchMenu();
  EXPECT_FALSE(app.presenter.statusItem());
  EXPECT_EQ(at({"Preferences...", "✓Hide Menu Bar"}).action, "hideAllOnly");
}

TEST_F(StatusMenuTest, UntrustedAccessibilityTurnsTheSelectionListOff) {
  settings().setBool(keys::selectionAssistant, true);
  const auto trusted = dir.path() / "Library" / "Accessibility" / "trusted";
  std::filesystem::create_directories(trusted.parent_path());
  std::ofstream(trusted).put('\n');
  delegate().statusMenu().fetchMenu();
  EXPECT_THAT(titlesAt({"Experimental"}),
              ElementsAre("✓Show List on text selection", "   Manipulate links inside browsers"));

  std::filesystem::remove(trusted);
  delegate().statusMenu().fetchMenu();
  EXPECT_EQ(settings().getBool(keys::selectionAssistant), false);
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
