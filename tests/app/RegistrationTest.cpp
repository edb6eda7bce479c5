#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "app/MakerPages.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;

class RegistrationTest : public test::AppTest {
 protected:
  void SetUp() override {
    delegate().setTraceSink([this](std::string_view line) { traced.emplace_back(line); });
  }
  void act(const std::string& action) { ASSERT_TRUE(delegate().perform(action, MenuItem{})); }
  std::optional<std::string> handler(const std::string& scheme) {
    return app.system.launchServices.defaultHandler(scheme);
  }
  const View* aboutView(std::size_t i) const {
    auto it = app.presenter.windows().find("About");
    if (it == app.presenter.windows().end() || i >= it->second.content.subviews.size()) return nullptr;
    return &it->second.content.subviews[i];
  }
  std::vector<std::string> traced;
  int refreshes() const { return app.runLoop.scheduledCount(); }
};

TEST_F(RegistrationTest, DefaultHandlersAndUpdates) {
  act("setBrowserDefault");
  EXPECT_EQ(handler("http"), "com.kestrova.Routelle");
  EXPECT_EQ(handler("https"), "com.kestrova.Routelle");
  // Twice gives mail links back to Mail, whatever handled them before; the
  // system may report the own identifier lower-cased.
  app.system.launchServices.setDefaultHandler("mailto", "com.example.Letters");
  act("setMailDefault");
  EXPECT_EQ(handler("mailto"), "com.kestrova.Routelle");
  app.system.launchServices.setDefaultHandler("mailto", "com.kestrova.routelle");
  act("setMailDefault");
  EXPECT_EQ(handler("mailto"), "com.apple.mail");
  EXPECT_EQ(refreshes(), 1);

  auto& updater = app.system.updater;
  updater.setAutomaticallyDownloadsUpdates(true);
  act("checkWeek");
  EXPECT_TRUE(updater.automaticallyChecksForUpdates());
  EXPECT_FALSE(updater.automaticallyDownloadsUpdates());
  updater.setDelegate(&delegate().registration());
  act("checkNow");
  EXPECT_THAT(traced, ElementsAre("didFinishLoadingAppcast", updater.userAgentString(), "updaterDidNotFindUpdate"));
  EXPECT_TRUE(delegate().registration().updaterShouldRelaunchApplication());
  EXPECT_EQ(refreshes(), 3);
}

TEST_F(RegistrationTest, AboutWindowIsRefilledOnEveryOpening) {
  act("dialogOKCancel2");
  ASSERT_TRUE(aboutView(0));
  EXPECT_THAT(aboutView(0)->text, StartsWith("Routelle - Version \n\n"));
  install("Routelle", "com.kestrova.Routelle");
  act("dialogOKCancel2");
  ASSERT_EQ(app.presenter.windows().size(), 1u);
  const WindowModel& window = app.presenter.windows().at("About");
  EXPECT_TRUE(window.title == "About" && window.floating && (window.styleMask & 2));
  ASSERT_EQ(window.content.subviews.size(), 5u);

  const View& text = *aboutView(0);
  EXPECT_THAT(text.text, StartsWith("Routelle - Version \n1.0\n"));
  EXPECT_TRUE(text.selectable && !text.editable && text.frame == (Rect{0, 50, 350, 150}));
  ASSERT_EQ(text.links.size(), 4u);
  for (const auto& link : text.links) EXPECT_THAT(text.text, HasSubstr(link.text));
  EXPECT_EQ(aboutView(1)->image.name, "AppIcon");
  std::vector<std::tuple<std::string, std::string, Rect, int>> buttons;
  for (std::size_t i = 2; i < 5; ++i) {
    const View& b = *aboutView(i);
    buttons.emplace_back(b.text, b.action, b.frame, b.bezelStyle);
  }
  EXPECT_THAT(buttons, ElementsAre(std::make_tuple("Ok", "cancelBt", Rect{10, 10, 80, 35}, 2),
                                   std::make_tuple("Support", "saveBte", Rect{100, 10, 100, 35}, 2),
                                   std::make_tuple("Acknowledgements", "saveBte2", Rect{200, 10, 150, 35}, 2)));

  // Without the document nothing is started.
  act("saveBte2");
  EXPECT_FALSE(aboutView(0));
  EXPECT_THAT(runsSince(), IsEmpty());
  const std::string document = "/Applications/Routelle.app/Contents/Resources/Acknowledgments.pdf";
  std::filesystem::create_directories(app.system.world.hostPath(document).parent_path());
  std::ofstream(app.system.world.hostPath(document)) << "%PDF-1.4\n";
  act("saveBte2");
  EXPECT_THAT(runsSince(), ElementsAre(test::openRun({document})));
}

TEST_F(RegistrationTest, MakerPagesOpenWithTheHttpsHandler) {
  act("readme");
  EXPECT_THAT(traced, IsEmpty());
  install(test::applicationBundle("Safari", "com.apple.Safari", {"http", "https"}));
  act("readme");
  act("dialogOKCancel2");
  act("saveBte");
  EXPECT_FALSE(aboutView(0));
  act("maisApps");
  EXPECT_THAT(traced, ElementsAre("url successfully opened", "url successfully opened", "url successfully opened"));
  // Started without waiting: they log in whatever order they get to run.
  EXPECT_THAT(launches(),
              UnorderedElementsAre("Safari " + std::string(pages::instructions),
                                   "Safari " + std::string(pages::contact), "Safari " + std::string(pages::site)));
}

TEST_F(RegistrationTest, AddBrowserThroughTheOpenPanel) {
  install("Routelle", "com.kestrova.Routelle");
  install("Arc", "company.thebrowser.Browser");
  app.presenter.openPanelAnswer = "/Applications/Routelle.app";
  act("openNew");
  EXPECT_THAT(transcript(), Contains("open panel in /Applications/ for app"));
  // The panel answers once the action is over.
  app.runLoop.runPending();
  act("openNew");  // cancelled
  app.runLoop.runPending();
  EXPECT_FALSE(settings().contains(keys::addedBrowsers));

  app.presenter.openPanelAnswer = "/Applications/Arc.app";
  act("openNew");
  app.runLoop.runPending();
  EXPECT_EQ(app.system.registry.addedIdentifiers(), std::vector<std::string>{"company.thebrowser.Browser"});
  EXPECT_THAT(test::titles(delegate().chooser().menu()), Contains("Arc.app"));
}

}  // namespace
}  // namespace routelle
