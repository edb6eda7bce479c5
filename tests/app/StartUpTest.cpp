#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::Contains;

class StartUpTest : public test::AppTest {
 protected:
  void startUp() { app.start(); }
  std::optional<std::string> handler(const std::string& scheme) {
    return app.system.launchServices.defaultHandler(scheme);
  }
};

TEST_F(StartUpTest, FirstLaunchWritesItsDefaultsAndOffersOnceToBeTheBrowser) {
  startUp();
  auto& s = settings();
  EXPECT_EQ(s.getBool(keys::hideChooserClose), true);
  EXPECT_EQ(s.getBool(keys::hideChooserUrl), true);
  EXPECT_EQ(s.getBool(keys::coloredIcon), true);
  auto size = app.system.standard.object(keys::menuBarIconSize);
  ASSERT_TRUE(size && std::holds_alternative<double>(*size));
  EXPECT_EQ(std::get<double>(*size), 16.0);
  EXPECT_EQ(s.getBool(keys::menuBarOnly), false);
  EXPECT_EQ(s.getBool(keys::tabWatcher), false);
  EXPECT_EQ(s.getBool(keys::offerDefaultBrowser), false);
  EXPECT_EQ(handler("http"), "com.kestrova.Routelle");
  EXPECT_EQ(handler("https"), "com.kestrova.Routelle");
  EXPECT_FALSE(app.application.policy());  // the bundle's own policy stays

  // The user gave the browser role back; a later launch does not ask again.
  app.system.launchServices.setDefaultHandler("http", "com.apple.Safari");
  HostApp second(dir.path(), test::openCommandPath());
  second.delegate.applicationDidFinishLaunching();
  EXPECT_EQ(second.system.launchServices.defaultHandler("http"), "com.apple.Safari");
}

TEST_F(StartUpTest, AlreadyTheDefaultBrowserRegistersNothingAndStopsAsking) {
  app.system.launchServices.setDefaultHandler("http", "com.kestrova.routelle");
  startUp();
  EXPECT_EQ(settings().getBool(keys::offerDefaultBrowser), false);
  EXPECT_FALSE(handler("https"));
}

TEST_F(StartUpTest, MenuBarOnlyRunsWithoutADockIcon) {
  settings().setBool(keys::menuBarOnly, true);
  startUp();
  EXPECT_EQ(app.application.policy(), ActivationPolicy::accessory);
}

TEST_F(StartUpTest, ObserversShortcutServicesAndUpdaterAreInPlace) {
  installCommonApps();
  startUp();

  // The workspace's deactivation notification names the previous application.
  app.system.workspaceNotifications.post(
      kDidDeactivateApplicationNotification,
      {{kApplicationNameKey, "Mail"}, {kApplicationBundlePathKey, "/Applications/Mail.app"}});
  ASSERT_TRUE(delegate().linkRequest().previousApplication());
  EXPECT_EQ(delegate().linkRequest().previousApplication()->localizedName, "Mail");

  // Control-Option-Command-N with the chooser as default choice pops the chooser up
  // and the choice opens a new window rather than a link.
  app.presenter.choice = "Firefox";
  EXPECT_TRUE(app.shortcuts.press(45, 0x1C0000));
  EXPECT_THAT(transcript(), Contains(test::openRun({"-a", "Firefox"})));

  // The Services entry reaches the program through the provider it registered.
  app.pasteboard.contents = "example.org";
  const auto before = transcript().size();
  ASSERT_TRUE(app.application.requestService(app.pasteboard));
  EXPECT_THAT(runsSince(before), Contains(test::openRun({"-b", "com.kestrova.Routelle", "http://example.org"})));

  // The updater reports to the delegate.
  std::vector<std::string> traced;
  delegate().setTraceSink([&](std::string_view line) { traced.emplace_back(line); });
  app.system.updater.checkForUpdates();
  EXPECT_THAT(traced, Contains("updaterDidNotFindUpdate"));
}

TEST_F(StartUpTest, ReopenShowsTheStatusMenuOrTheBrowsersWindow) {
  installCommonApps();
  startUp();
  app.runLoop.advance(1);
  const auto before = transcript().size();
  EXPECT_TRUE(delegate().applicationShouldHandleReopen(false));
  EXPECT_LT(before, transcript().size());
  EXPECT_FALSE(app.presenter.floatingWindowVisible());

  settings().setBool(keys::imagesOnlyChooser, true);
  delegate().applicationShouldHandleReopen(true);
  EXPECT_TRUE(app.presenter.floatingWindowVisible());

  delegate().perform("exit", MenuItem{});
  EXPECT_TRUE(app.application.terminated());
}

}  // namespace
}  // namespace routelle
