// What the menus offer depends on what the system can do: browsers the system
// lists, tabs only with AppleScript, updates only with an updater, the selection
// assistant only where selections can be read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/StatusMenuSubmenus.h"
#include "settings/BrowserIdentifiers.h"
#include "settings/KnownBrowsers.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::ElementsAre;

// A workspace whose system lists its own browsers.
class ListingWorkspace final : public Workspace {
 public:
  explicit ListingWorkspace(std::vector<std::string> listed) : listed_(std::move(listed)) {}
  std::optional<std::string> pathForBundleIdentifier(const std::string&) override { return std::nullopt; }
  std::optional<std::string> fullPathForApplication(const std::string&) override { return std::nullopt; }
  std::optional<std::string> bundleIdentifier(const std::string&) override { return std::nullopt; }
  std::vector<RunningApplication> runningApplications() override { return {}; }
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  bool openURL(const std::string&) override { return false; }
  bool fileExists(const std::string&) override { return false; }
  bool activateIgnoringOtherApps(const RunningApplication&) override { return false; }
  std::vector<std::string> systemBrowserIdentifiers() override { return listed_; }

 private:
  std::vector<std::string> listed_;
};

TEST(BrowserIdentifiersTest, SystemBrowsersFollowTheKnownTableOnceAndNeverTheProgram) {
  ListingWorkspace workspace({"firefox-esr", "ORG.MOZILLA.FIREFOX", "", "com.kestrova.Routelle", "fakefox"});
  const auto identifiers = knownBrowserIdentifiers(workspace);
  ASSERT_EQ(identifiers.size(), knownBrowsers.size() + 2);
  for (std::size_t i = 0; i < knownBrowsers.size(); ++i) EXPECT_EQ(identifiers[i], knownBrowsers[i].identifier);
  EXPECT_EQ(identifiers[knownBrowsers.size()], "firefox-esr");
  EXPECT_EQ(identifiers.back(), "fakefox");
}

class SystemBrowsersAppTest : public test::AppTest {};

// The host world lists no browsers of its own, so the known table alone decides there;
// the chooser shows what the registry resolves.
TEST_F(SystemBrowsersAppTest, HostWorldListsOnlyTheKnownTable) {
  install("Firefox", "org.mozilla.firefox");
  install("Fakefox", "fakefox");
  delegate().chooser().buildBrowsersListMenu();
  EXPECT_THAT(test::titles(delegate().chooser().menu()), ElementsAre("Firefox"));
}

std::vector<std::string> titlesOf(const Menu& menu) { return test::titles(menu); }

TEST(PlatformOffersTest, ExperimentalEntriesFollowWhatTheSystemCanDo) {
  using statusmenu::experimental;
  EXPECT_THAT(titlesOf(experimental(false, true, true, std::nullopt)),
              ElementsAre("   Show List on text selection", "✓Manipulate links inside browsers"));

  const Menu noTabs = experimental(true, true, false, std::string("Needs the X11 selection"));
  EXPECT_THAT(titlesOf(noTabs), ElementsAre("✓Show List on text selection", "   Needs the X11 selection"));
  EXPECT_FALSE(noTabs.items[0].enabled);
  EXPECT_FALSE(noTabs.items[1].enabled);
}

TEST(PlatformOffersTest, PreferencesOfferAutomaticUpdatesOnlyWithAnUpdater) {
  statusmenu::PreferenceMarks marks;
  const statusmenu::InstalledBrowsers none;
  auto offersUpdates = [&] {
    return preferences(marks, none, "").find("   Automatically check for updates") != nullptr;
  };
  EXPECT_TRUE(offersUpdates());
  marks.updatesAvailable = false;
  EXPECT_FALSE(offersUpdates());
}

}  // namespace
}  // namespace routelle
