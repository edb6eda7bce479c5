#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "app/MakerPages.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PreferenceTogglesTest : public test::AppTest {
 protected:
  void SetUp() override {
    delegate().setTraceSink([this](std::string_view line) { traced.emplace_back(line); });
  }
  void act(const std::string& action, const std::string& title = {}) {
    MenuItem sender;
    sender.title = title;
    ASSERT_TRUE(delegate().perform(action, sender));
  }
  // As the status menu builds it: the slider inside the entry's view.
  void slide(double value) {
    MenuItem sender;
    sender.view = std::make_shared<View>();
    sender.view->subviews.resize(1);
    sender.view->subviews[0].kind = View::Kind::slider;
    sender.view->subviews[0].value = value;
    delegate().perform("slideMove:", sender);
  }
  std::vector<std::string> traced;
  int refreshes() const { return app.runLoop.scheduledCount(); }
};

TEST_F(PreferenceTogglesTest, FlipsStartFromTheirFirstUseDefault) {
  for (const char* action : {"onlyx", "changeHexit", "changesUrl", "showEdit", "only"}) act(action);
  EXPECT_EQ(settings().getBool(keys::imagesOnlyChooser), true);
  EXPECT_EQ(settings().getBool(keys::hideChooserClose), false);  // the Close entry is turned on
  EXPECT_EQ(settings().getBool(keys::hideChooserUrl), false);
  EXPECT_EQ(settings().getBool(keys::multipleFileTypes), true);
  EXPECT_EQ(app.application.policy(), ActivationPolicy::accessory);
  act("only");
  act("changeHexit");
  EXPECT_EQ(app.application.policy(), ActivationPolicy::regular);
  EXPECT_EQ(settings().getBool(keys::hideChooserClose), true);
  EXPECT_EQ(refreshes(), 0);
  act("openBack");
  EXPECT_EQ(settings().getBool(keys::openInBackground), true);
  EXPECT_EQ(refreshes(), 1);
}

TEST_F(PreferenceTogglesTest, HideMenuBarRemovesTheItemAndTurningItOffQuits) {
  delegate().statusMenu().createStatusItem();
  act("hideAllOnly");
  EXPECT_EQ(settings().getBool(keys::hideMenuBar), true);
  EXPECT_FALSE(app.presenter.statusItem() || app.application.terminated());
  // Rebuilds keep it away.
  app.runLoop.advance(1);
  EXPECT_FALSE(app.presenter.statusItem());

  app.presenter.choice = "Cancel";
  act("hideAllOnly");
  EXPECT_EQ(settings().getBool(keys::hideMenuBar), false);
  const auto alert = positionOf("alert (warning): Shutting Down Routelle...");
  ASSERT_LT(alert + 2, transcript().size());
  EXPECT_EQ(transcript()[alert + 1], "  This change will take effect next time you open Routelle.");
  EXPECT_EQ(transcript()[alert + 2], "  button \"OK\"");
  EXPECT_LT(alert, positionOf("terminate"));
  EXPECT_TRUE(app.application.terminated());
}

TEST_F(PreferenceTogglesTest, PriorityBehaviorAndExperimentalToggles) {
  act("changePriority:", "✓Per Domain");  // the checked entry switches too
  EXPECT_EQ(settings().getString(keys::rulePriority), "1");
  act("changePriority:", "   Per Domain");
  EXPECT_EQ(settings().getString(keys::rulePriority), "0");
  settings().setString(keys::rulePriority, "2");
  act("changePriority:");
  EXPECT_EQ(settings().getString(keys::rulePriority), "2");
  EXPECT_THAT(traced, ElementsAre("0"));

  std::vector<std::int64_t> behaviors;  // a missing value is only created
  for (int i = 0; i < 3; ++i) {
    act("changeBehavior");
    behaviors.push_back(settings().getInteger(keys::shareBehavior, Domain::suite).value_or(-1));
  }
  EXPECT_THAT(behaviors, ElementsAre(0, 1, 0));

  act("expActive");
  EXPECT_EQ(settings().getBool(keys::selectionAssistant), false);
  EXPECT_EQ(transcript().back(), "accessibility prompt shown");
  const auto trusted = app.system.world.root() / "Library" / "Accessibility" / "trusted";
  std::filesystem::create_directories(trusted.parent_path());
  std::ofstream{trusted};
  act("expActive");
  EXPECT_EQ(settings().getBool(keys::selectionAssistant), true);

  act("expiActive");
  EXPECT_EQ(settings().getBool(keys::tabWatcher), true);
  act("expiActive");
  EXPECT_EQ(settings().getBool(keys::tabWatcher), false);
  EXPECT_EQ(refreshes(), 10);
}

TEST_F(PreferenceTogglesTest, IconColourAndSize) {
  delegate().statusMenu().createStatusItem();
  act("changeIcon");
  EXPECT_EQ(settings().getBool(keys::coloredIcon), false);
  EXPECT_EQ(app.presenter.statusItem().value_or(StatusItemModel{}).image.name, "StatusBarButtonImage");
  slide(17.0);
  EXPECT_EQ(app.presenter.statusItem()->image.size, (Size{17, 17}));
  slide(16.0);
  EXPECT_EQ(settings().getObject(keys::menuBarIconSize), DefaultsValue(16.0));  // a double, never an integer
  EXPECT_EQ(app.presenter.statusItem()->image.size, Size{});
  delegate().perform("slideMove:", MenuItem{});  // no slider: nothing to read
  EXPECT_EQ(settings().getDouble(keys::menuBarIconSize), 16.0);
}

TEST_F(PreferenceTogglesTest, ExtensionPagesFallBackToInstalledBrowsers) {
  const std::string page(pages::extensions);
  install("Safari", "com.apple.Safari");
  install("Chromium", "org.Chromium.chromium");
  auto opened = [&](const std::string& title) {
    const std::size_t before = transcript().size();
    act("openBrowserExtensionsPageWithSender:", title);
    return runsSince(before);
  };
  auto in = [](const std::string& browser, const std::string& link) {
    return ElementsAre(test::openRun({"-a", "/Applications/" + browser + ".app", link}));
  };
  EXPECT_THAT(opened("Firefox"), in("Safari", page));
  EXPECT_THAT(opened("Opera"), in("Safari", page + "#"));
  EXPECT_THAT(opened("Google Chrome"), in("Chromium", page + "#chrome"));
  EXPECT_THAT(opened("Roccat"), in("Safari", page));
  EXPECT_THAT(opened("Edge"), IsEmpty());

  install("Firefox", "org.mozilla.firefox");
  install("Google Chrome", "com.google.Chrome");
  EXPECT_THAT(opened("Firefox"), in("Firefox", std::string(pages::firefoxAddOn)));
  EXPECT_THAT(opened("Google Chrome"), in("Google Chrome", page + "#chrome"));
  removeApplication(app.system.world, "/Applications/Chromium.app");
  EXPECT_THAT(opened("Chromium"), in("Google Chrome", page + "#chrome"));
  EXPECT_EQ(refreshes(), 0);
}

}  // namespace
}  // namespace routelle
