#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using test::openRun;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

constexpr const char* kLink = "https://example.org/";
constexpr const char* kNewWindowKeystroke = "System Events: keystroke \"n\" using command";

class BrowserLauncherTest : public test::AppTest {
 protected:
  std::vector<std::string> launch(const std::string& browser) {
    const auto before = transcript().size();
    delegate().launcher().launchBrowser(kLink, browser);
    return runsSince(before);
  }
};

// Whatever a setting names, the program never starts itself with a link (it would
// hand the link back to itself without end): the user gets the browsers list.
TEST_F(BrowserLauncherTest, TheProgramItselfIsNeverStartedWithALink) {
  installCommonApps();
  install("Routelle", "com.kestrova.Routelle");
  install("Router Copy", "COM.KESTROVA.ROUTELLE");
  for (const std::string self : {"Routelle", "routelle.app", "/Applications/Routelle.app", "Router Copy"}) {
    const auto before = transcript().size();
    EXPECT_THAT(launch(self), IsEmpty()) << self;
    EXPECT_THAT(std::vector<std::string>(transcript().begin() + static_cast<long>(before), transcript().end()),
                Contains("menu at (400, 300):"))
        << self;
  }
  // The same through every road that stores a browser name.
  settings().setString(keys::defaultChoice, "Routelle");
  settings().setList(keys::domainRules, {"", "loop.example", "Routelle.app"});
  settings().setString(keys::onionRule, "Routelle");
  for (const std::string link : {"https://elsewhere.example/", "https://loop.example/", "http://x.onion/"})
    EXPECT_THAT(route(link), IsEmpty()) << link;
  settings().setString(keys::shiftRule, "Routelle");
  EXPECT_THAT(route(kLink, modifierFlags::shift), IsEmpty());
  EXPECT_THAT(launches(), IsEmpty());
}

TEST_F(BrowserLauncherTest, BackgroundBySettingOrForOneLaunch) {
  installCommonApps();
  EXPECT_THAT(launch("Firefox"), ElementsAre(openRun({"-a", "/Applications/Firefox.app", kLink})));

  delegate().linkRequest().setBackgroundOnce(true);
  EXPECT_THAT(launch("Firefox"), ElementsAre(openRun({"-g", "-a", "/Applications/Firefox.app", kLink})));
  EXPECT_FALSE(delegate().linkRequest().backgroundOnce());
  EXPECT_THAT(launch("Safari"), ElementsAre(openRun({"-a", "/Applications/Safari.app", kLink})));

  settings().setBool(keys::openInBackground, true);
  EXPECT_THAT(launch("Safari"), ElementsAre(openRun({"-g", "-a", "/Applications/Safari.app", kLink})));
  EXPECT_THAT(launches(),
              UnorderedElementsAre(std::string("Firefox ") + kLink, std::string("Firefox (background) ") + kLink,
                                   std::string("Safari ") + kLink, std::string("Safari (background) ") + kLink));
}

TEST_F(BrowserLauncherTest, ApplicationsElsewhereAreFoundByNameOnTheSecondTry) {
  install("Google Chrome", "com.google.Chrome", "/Users/me/Applications");
  install("Vivaldi", "com.vivaldi.Vivaldi", "/Applications/Browsers");
  EXPECT_THAT(launch("Google Chrome"), ElementsAre(openRun({"-a", "/Applications/Google Chrome.app", kLink}),
                                                   openRun({"-a", "Google Chrome", kLink})));
  EXPECT_THAT(transcript(), Contains("  exit status 1"));
  settings().setBool(keys::openInBackground, true);
  EXPECT_THAT(launch("Vivaldi"), ElementsAre(openRun({"-g", "-a", "/Applications/Vivaldi.app", kLink}),
                                             openRun({"-g", "-a", "Vivaldi", kLink})));
  // Nowhere at all: both attempts fail and nothing starts.
  EXPECT_THAT(launch("Opera"), ElementsAre(openRun({"-g", "-a", "/Applications/Opera.app", kLink}),
                                           openRun({"-g", "-a", "Opera", kLink})));
  EXPECT_THAT(launches(), UnorderedElementsAre(std::string("Google Chrome ") + kLink,
                                               std::string("Vivaldi (background) ") + kLink));
}

TEST_F(BrowserLauncherTest, HeliumOpensItsOwnScheme) {
  install(test::applicationBundle("Helium", "net.imput.helium", {"helium"}));
  EXPECT_THAT(launch("Helium"),
              ElementsAre("run /Applications/Helium.app/Contents/MacOS/app helium://https://example.org/"));
  EXPECT_THAT(launches(), ElementsAre("Helium helium://https://example.org/"));
}

TEST_F(BrowserLauncherTest, TorBrowserStartsItselfUnlessRunning) {
  AppSpec tor = test::applicationBundle("TorBrowser", "org.mozilla.tor browser");
  tor.executable = "firefox";
  install(tor);

  EXPECT_THAT(launch("TorBrowser"),
              ElementsAre(std::string("run /Applications/TorBrowser.app/Contents/MacOS/firefox ") + kLink));
  setRunning({"TorBrowser"});
  EXPECT_THAT(launch("TorBrowser"), ElementsAre(openRun({"-a", "/Applications/TorBrowser.app", kLink})));
  EXPECT_THAT(launches(), ElementsAre(std::string("TorBrowser ") + kLink, std::string("TorBrowser ") + kLink));

  setRunning({});
  removeApplication(app.system.world, "/Applications/TorBrowser.app");
  EXPECT_THAT(launch("TorBrowser"), IsEmpty());
}

TEST_F(BrowserLauncherTest, NewWindowRequestOpensTheBrowserInsteadOfTheLink) {
  installCommonApps();
  setRunning({"Firefox"});
  app.presenter.choice = "Firefox";
  delegate().router().handleNewWindowShortcut();
  EXPECT_THAT(test::titles(delegate().chooser().menu()), ElementsAre("Safari", "Firefox", "Google Chrome"));
  EXPECT_THAT(runsSince(), ElementsAre(openRun({"-a", "Firefox"})));
  EXPECT_THAT(transcript(), Contains(kNewWindowKeystroke));
  EXPECT_TRUE(delegate().linkRequest().opensLink());

  // Dismissed: the request stays, yet the next link opens as usual.
  delegate().router().handleNewWindowShortcut();
  EXPECT_FALSE(delegate().linkRequest().opensLink());
  settings().setString(keys::defaultChoice, "Safari");
  EXPECT_THAT(route(kLink), ElementsAre(openRun({"-a", "/Applications/Safari.app", kLink})));

  // A browser that is not running gets no keystroke.
  const auto before = transcript().size();
  delegate().linkRequest().setOpensLink(false);
  EXPECT_THAT(launch("Google Chrome"), ElementsAre(openRun({"-a", "Google Chrome"})));
  EXPECT_TRUE(delegate().linkRequest().opensLink());
  EXPECT_THAT(std::vector<std::string>(transcript().begin() + static_cast<long>(before), transcript().end()),
              Not(Contains(kNewWindowKeystroke)));
  EXPECT_THAT(launches(), UnorderedElementsAre("Firefox", "Google Chrome", std::string("Safari ") + kLink));
}

}  // namespace
}  // namespace routelle
