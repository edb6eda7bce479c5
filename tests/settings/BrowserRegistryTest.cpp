#include <gtest/gtest.h>

#include <filesystem>

#include "settings/Keys.h"
#include "settings/KnownBrowsers.h"
#include "support/TestWorld.h"

namespace routelle {
namespace {

using Names = std::vector<std::string>;

Names namesOf(const std::vector<InstalledBrowser>& browsers) {
  Names out;
  for (const auto& b : browsers) out.push_back(b.name);
  return out;
}

TEST(KnownBrowsers, TableIsInSequenceOrder) {
  ASSERT_EQ(knownBrowsers.size(), 15u);
  for (size_t i = 0; i < knownBrowsers.size(); ++i)
    EXPECT_EQ(knownBrowsers[i].key.substr(0, 2), std::to_string(11 + i)) << knownBrowsers[i].key;
  EXPECT_EQ(knownBrowsers.front().key, "11Safari");
  EXPECT_EQ(knownBrowsers.back().key, "25Brave Browser");
  EXPECT_EQ(knownBrowsers[12].name(), "Helium");
  EXPECT_EQ(knownBrowsers[12].identifier, "net.imput.helium");
  EXPECT_EQ(knownBrowsers[6].name(), "TorBrowser");
  EXPECT_EQ(knownBrowsers[6].identifier, "org.mozilla.tor browser");
}

TEST(BrowserRegistry, BundleNamesLoseOnlyTheirSuffixAndEverySpellingNamesItsBrowser) {
  const std::pair<const char*, const char*> names[] = {
      {"/Applications/Notes.app Helper.app", "Notes.app Helper"},
      {"Notes.app Helper.app", "Notes.app Helper"},
      {"/Applications/Arc.app/", "Arc"},
      {"Tool.app.app", "Tool.app"},
      {"Safari.APP", "Safari"},
      {".app", ".app"},
      {"Google Chrome", "Google Chrome"},
  };
  for (const auto& [given, name] : names) EXPECT_EQ(BrowserRegistry::displayNameOfBundle(given), name) << given;

  // The launcher takes the display name, the file name and the path alike.
  for (const char* spelling : {"Arc", "Arc.app", "arc.APP", "/Applications/Arc.app", "/Users/ann/Applications/Arc.app"})
    EXPECT_TRUE(BrowserRegistry::namesListedBrowser("Arc", spelling)) << spelling;
  EXPECT_TRUE(BrowserRegistry::namesListedBrowser("Arc.app", "Arc"));
  for (const char* other : {"", "Arc Beta", "Ar", "Arc.app.app", "Show Browser List"})
    EXPECT_FALSE(BrowserRegistry::namesListedBrowser("Arc", other)) << other;
}

TEST(BrowserRegistry, InstalledBrowsersFollowTheTableThenTheOrderOfAdding) {
  test::TestWorld world;
  auto& registry = world.system().registry;
  EXPECT_TRUE(registry.installedBrowsers().empty());

  world.install("Brave Browser", "com.brave.Browser");
  world.install("Safari", "com.apple.Safari");
  world.install("Google Chrome", "com.google.Chrome");  // the table spells it "com.google.chrome"
  world.install("Tor Browser", "org.mozilla.tor browser", "/Applications/Internet");
  world.install("Helium Nightly", "net.imput.helium", "/Users/ann/Applications");
  world.install("Orion", "com.kagi.kagimacOS");
  world.install("Arc", "company.thebrowser.Browser");
  world.install("Notes", "com.apple.Notes");

  ASSERT_TRUE(registry.addBrowserNamed("orion"));
  ASSERT_TRUE(registry.addBrowserNamed("Arc.app"));
  EXPECT_FALSE(registry.addBrowserNamed("Arc"));
  EXPECT_EQ(world.system().settings.getList(keys::addedBrowsers).items,
            (Names{"", "com.kagi.kagimacOS", "company.thebrowser.Browser"}));

  const auto browsers = world.reopen()->registry.installedBrowsers();
  // Renamed bundles are listed under their file names, blanks kept.
  EXPECT_EQ(namesOf(browsers),
            (Names{"Safari", "Google Chrome", "Tor Browser", "Helium Nightly", "Brave Browser", "Orion", "Arc"}));
  ASSERT_EQ(browsers.size(), 7u);
  EXPECT_EQ(browsers[2].path, "/Applications/Internet/Tor Browser.app");
  EXPECT_EQ(browsers[3].path, "/Users/ann/Applications/Helium Nightly.app");
  EXPECT_FALSE(browsers[4].added);
  EXPECT_TRUE(browsers[5].added);
  EXPECT_EQ(browsers[6].fileName(), "Arc.app");

  // An added browser that is no longer installed is skipped.
  removeApplication(world.system().world, "/Applications/Orion.app");
  EXPECT_EQ(namesOf(registry.installedBrowsers()).back(), "Arc");
  EXPECT_EQ(registry.addedIdentifiers().size(), 2u);
}

TEST(BrowserRegistry, AddingRefusesItselfAppsWithoutIdentifierAndUnknownNames) {
  test::TestWorld world;
  auto& registry = world.system().registry;
  world.install("Routelle", "COM.Kestrova.routelle");
  world.install("Bare", "");
  world.install("Arc", "company.thebrowser.Browser");

  EXPECT_FALSE(registry.addBrowserNamed("Routelle"));
  EXPECT_FALSE(registry.addBrowserAtPath("/Applications/Routelle.app"));
  EXPECT_FALSE(registry.addBrowserNamed("Bare"));
  EXPECT_FALSE(registry.addBrowserNamed("Missing"));
  EXPECT_FALSE(world.system().settings.contains(keys::addedBrowsers));

  EXPECT_TRUE(registry.addBrowserAtPath("/Applications/Arc.app"));
  EXPECT_FALSE(registry.addBrowserNamed("ARC"));
  EXPECT_EQ(registry.addedIdentifiers(), (Names{"company.thebrowser.Browser"}));

  // An unreadable list is left as it is rather than replaced by a new one.
  const Bytes garbage{0x01, 0x02, 0x03};
  world.system().standard.set(keys::addedBrowsers, garbage);
  world.install("Orion", "com.kagi.kagimacOS");
  EXPECT_FALSE(registry.addBrowserNamed("Orion"));
  EXPECT_EQ(world.reopen()->standard.object(keys::addedBrowsers), DefaultsValue(garbage));
  EXPECT_TRUE(registry.addedIdentifiers().empty());
}

TEST(BrowserRegistry, KnowsTheProgramItselfUnderEveryName) {
  test::TestWorld world;
  auto& registry = world.system().registry;
  world.install("Routelle", "com.kestrova.Routelle");
  world.install("Loop", "COM.KESTROVA.ROUTELLE", "/Users/ann/Applications");  // a renamed copy
  world.install("Firefox", "org.mozilla.firefox");
  world.install("Routelle Notes", "com.example.notes");

  for (const char* name : {"Routelle", "routelle", "ROUTELLE.APP", "Routelle.app", "/Applications/Routelle.app",
                           "/Applications/Routelle.app/", "/Volumes/Backup/routelle.app", "Loop", "loop.app",
                           "/Users/ann/Applications/Loop.app"})
    EXPECT_TRUE(registry.isProgramItself(name)) << name;
  for (const char* name : {"Firefox", "firefox.app", "/Applications/Firefox.app", "Routelle Notes", "RoutelleX.app",
                           "Show Browsers List", "Use the opened browser", "", "/", "Missing"})
    EXPECT_FALSE(registry.isProgramItself(name)) << name;
}

// Asked on every link, the answer is kept; it must still follow the applications.
TEST(BrowserRegistry, TheProgramItselfFollowsTheApplicationsAsTheyChange) {
  test::TestWorld world;
  auto& registry = world.system().registry;
  world.install("Loop", "org.example.loop");
  EXPECT_FALSE(registry.isProgramItself("Loop"));
  EXPECT_FALSE(registry.isProgramItself("Later"));  // not installed yet

  world.install("Loop", "com.kestrova.Routelle");  // replaced by a renamed copy of the program
  world.install("Later", "com.kestrova.routelle");
  EXPECT_TRUE(registry.isProgramItself("Loop"));
  EXPECT_TRUE(registry.isProgramItself("later.app"));

  world.install("Loop", "org.example.loop");
  EXPECT_FALSE(registry.isProgramItself("Loop"));
  EXPECT_TRUE(registry.isProgramItself("Later"));
}

TEST(BrowserRegistry, BundleIdentifiersAreComparedWithoutRegardToCase) {
  test::TestWorld world;
  auto& registry = world.system().registry;
  auto& settings = world.system().settings;
  world.install("Orion", "com.kagi.kagimacOS");
  world.install("Arc", "company.thebrowser.Browser");
  // Written by another tool in other capitals.
  settings.setList(keys::addedBrowsers, {"", "COM.KAGI.KAGIMACOS", "Company.TheBrowser.browser"});

  EXPECT_FALSE(registry.addBrowserNamed("Orion"));
  EXPECT_FALSE(registry.addBrowserAtPath("/Applications/Arc.app"));
  settings.setString(keys::defaultChoice, "Orion");
  EXPECT_TRUE(registry.removeAddedBrowser("orion"));
  EXPECT_EQ(settings.getString(keys::defaultChoice), "Show Browser List");  // the default named it
  EXPECT_TRUE(registry.removeAddedIdentifier("company.thebrowser.Browser"));
  EXPECT_FALSE(registry.removeAddedIdentifier("company.thebrowser.Browser"));
  EXPECT_EQ(world.reopen()->settings.getList(keys::addedBrowsers).items, (Names{""}));
}

TEST(BrowserRegistry, RemovingAnAddedBrowserResetsTheDefaultThatNamedIt) {
  test::TestWorld world;
  auto& registry = world.system().registry;
  auto& settings = world.system().settings;
  world.install("Arc", "company.thebrowser.Browser");
  world.install("Orion", "com.kagi.kagimacOS");
  ASSERT_TRUE(registry.addBrowserNamed("Arc"));
  ASSERT_TRUE(registry.addBrowserNamed("Orion"));

  settings.setString(keys::defaultChoice, "Orion");
  EXPECT_FALSE(registry.removeAddedBrowser("Missing"));
  EXPECT_TRUE(registry.removeAddedBrowser("Arc"));
  EXPECT_EQ(settings.getString(keys::defaultChoice), "Orion");
  EXPECT_FALSE(registry.removeAddedBrowser("Arc"));
  EXPECT_EQ(settings.getList(keys::addedBrowsers).items, (Names{"", "com.kagi.kagimacOS"}));

  EXPECT_TRUE(registry.removeAddedBrowser("Orion"));
  EXPECT_EQ(world.reopen()->settings.getString(keys::defaultChoice), "Show Browser List");
  EXPECT_EQ(settings.getList(keys::addedBrowsers).items, (Names{""}));
}

TEST(BrowserRegistry, HiddenBrowsersString) {
  test::TestWorld world;
  auto& registry = world.system().registry;
  auto hidden = [&] { return world.system().settings.getString(keys::hiddenBrowsers); };

  registry.hideBrowsersWithSender("   Safari");
  EXPECT_EQ(hidden(), " ✓Safari ");
  registry.hideBrowsersWithSender("   Firefox");
  EXPECT_EQ(hidden(), " ✓Safari  ✓Firefox ");
  EXPECT_TRUE(registry.isHiddenInMenus("Safari"));
  EXPECT_TRUE(registry.isHiddenInChooser("Firefox"));

  registry.hideBrowsersWithSender("✓Safari");
  EXPECT_FALSE(registry.isHiddenInMenus("Safari"));
  EXPECT_FALSE(registry.isHiddenInChooser("Safari"));
  EXPECT_TRUE(world.reopen()->registry.isHiddenInMenus("Firefox"));

  // Names are matched as substrings: the longer name drags the shorter along.
  registry.hideBrowsersWithSender("   Opera Developer");
  EXPECT_TRUE(registry.isHiddenInMenus("Opera Developer"));
  EXPECT_TRUE(registry.isHiddenInMenus("Opera"));
  registry.hideBrowsersWithSender("✓Opera");
  EXPECT_FALSE(registry.isHiddenInMenus("Opera Developer"));
  EXPECT_FALSE(registry.isHiddenInChooser("Opera Developer"));
  EXPECT_TRUE(registry.isHiddenInMenus("Firefox"));
}

}  // namespace
}  // namespace routelle
