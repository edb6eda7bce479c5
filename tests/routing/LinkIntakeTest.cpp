#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "routing/LinkText.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using test::openRun;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using LinkIntakeTest = test::AppTest;

TEST(NormaliseLink, StripsOwnSchemeAndMarkerAndRepairsTheScheme) {
  EXPECT_EQ(normaliseLink("routelle://https://example.org/a"), "https://example.org/a");
  EXPECT_EQ(normaliseLink("https://example.org/a;;;from:extension"), "https://example.org/a");
  EXPECT_EQ(normaliseLink("routelle://https//example.org"), "https://example.org");
  EXPECT_EQ(normaliseLink("routelle://http//example.org"), "http://example.org");
  EXPECT_EQ(normaliseLink("example.org"), "http://example.org");
  EXPECT_EQ(normaliseLink("ftp://example.org"), "ftp://example.org");
  // The marker goes wherever it stands, text after it stays.
  EXPECT_EQ(normaliseLink("https://a.org/;;;from:extensionx"), "https://a.org/x");
  EXPECT_EQ(normaliseLink(""), "http://");
  // Schemes have no case: the program's own in capitals is still its own, and never handed on.
  EXPECT_EQ(normaliseLink("ROUTELLE://https://example.org/s"), "https://example.org/s");
  EXPECT_EQ(normaliseLink("Routelle://https//example.org/s;;;FROM:Extension"), "https://example.org/s");
  EXPECT_EQ(normaliseLink("https://a.org/?to=rOuTeLlE://b;;;From:extension"), "https://a.org/?to=b");
}

TEST_F(LinkIntakeTest, EveryLinkStartsWithFreshRequestFlags) {
  installCommonApps();
  settings().setString(keys::defaultChoice, "Firefox");
  // Left over from an earlier request: neither may reach this link.
  delegate().linkRequest().setBackgroundOnce(true);
  delegate().linkRequest().setOpensLink(false);
  EXPECT_THAT(route("https://example.org/"),
              ElementsAre(openRun({"-a", "/Applications/Firefox.app", "https://example.org/"})));
  EXPECT_FALSE(delegate().linkRequest().backgroundOnce());
  EXPECT_TRUE(delegate().linkRequest().opensLink());

  delegate().linkRequest().setOpensLink(false);
  delegate().linkIntake().handleGetURLEvent(std::nullopt);
  EXPECT_TRUE(delegate().linkRequest().opensLink());
  EXPECT_THAT(launches(), ElementsAre("Firefox https://example.org/"));
}

TEST_F(LinkIntakeTest, MailLinkOffersTheMailApplicationsAndNothingElse) {
  installCommonApps();
  install(test::applicationBundle("Outlook", "com.microsoft.Outlook", {"mailto"}));
  // A name that reads as percent-encoded is offered as it is: paths are decoded once.
  install(test::applicationBundle("Mailer 100%41", "com.example.Mailer", {"mailto"}));
  install(test::applicationBundle("Routelle", "com.kestrova.Routelle", {"http", "mailto"}));
  settings().setBool(keys::hideChooserClose, false);
  // None of these may decide where a mail link goes.
  settings().setString(keys::defaultChoice, "Firefox");
  settings().setString(keys::shiftRule, "Safari");
  settings().setList(keys::domainRules, {"", "name", "Safari"});

  EXPECT_THAT(route("mailto:name", modifierFlags::shift), IsEmpty());
  EXPECT_EQ(delegate().linkRequest().currentLink(), "mailto:name");
  const auto& items = delegate().linkIntake().openWithMenu().items;
  ASSERT_THAT(test::titles(delegate().linkIntake().openWithMenu()),
              ElementsAre("Mail", "Mailer 100%41", "Outlook", "      Close"));
  EXPECT_EQ(items[0].keyEquivalent, "/Applications/Mail.app");
  EXPECT_EQ(items[0].action, "openx:");
  EXPECT_EQ(items[1].keyEquivalent, "/Applications/Mailer 100%41.app");
  EXPECT_EQ(items[3].keyEquivalent, "c");
  EXPECT_EQ(items[3].action, "nada");

  // The entry's full path is taken for a browser name: the first open misses.
  app.presenter.choice = "Mail";
  EXPECT_THAT(route("mailto:name"), ElementsAre(openRun({"-a", "/Applications//Applications/Mail.app", "mailto:name"}),
                                                openRun({"-a", "/Applications/Mail.app", "mailto:name"})));
  EXPECT_THAT(launches(), ElementsAre("Mail mailto:name"));
}

// Only the scheme put in front of "mailto:" goes; the message keeps its links,
// and a mail link holding "//" is still a mail link, in any case of its scheme.
TEST_F(LinkIntakeTest, MailLinksKeepTheAddressesInTheirMessage) {
  installCommonApps();
  for (const auto& [sent, kept] : std::vector<std::pair<std::string, std::string>>{
           {"https://mailto:a@b.org?body=see%20http://x.org", "mailto:a@b.org?body=see%20http://x.org"},
           {"mailto:a@b.org?body=https://y.org/p", "mailto:a@b.org?body=https://y.org/p"},
           {"MAILTO:a@b.org?body=https://y.org", "MAILTO:a@b.org?body=https://y.org"},
           {"mailto:name", "mailto:name"}}) {
    EXPECT_THAT(route(sent), IsEmpty()) << sent;
    EXPECT_EQ(delegate().linkRequest().currentLink(), kept);
    EXPECT_THAT(test::titles(delegate().linkIntake().openWithMenu()), ElementsAre("Mail")) << sent;
  }
}

// A process argument ends at a NUL, so the link ends there before it is routed:
// the rule that decides is the rule for the text that is opened.
TEST_F(LinkIntakeTest, ANulEndsTheLinkBeforeItIsRouted) {
  installCommonApps();
  settings().setList(keys::domainRules, {"", "evil.example", "Firefox", "nul.example", "Google Chrome"});
  const std::string link("https://nul.example/\0https://evil.example/", 42);
  EXPECT_THAT(route(link),
              ElementsAre(test::openRun({"-a", "/Applications/Google Chrome.app", "https://nul.example/"})));
  EXPECT_TRUE(delegate().applicationOpenFile(std::string("/Users/me/a.txt\0.html", 22)));
  EXPECT_EQ(delegate().linkRequest().currentLink(), "/Users/me/a.txt");
}

TEST_F(LinkIntakeTest, OpenedFilesGoToEditorsOrByTheDefaultChoiceAlone) {
  installCommonApps();
  install(test::applicationBundle("Editor", "com.example.Editor", {}, {"html", "php"}));
  install(test::applicationBundle("Notes", "com.example.Notes", {}, {"txt"}));
  settings().setString(keys::defaultChoice, "Firefox");
  settings().setString(keys::shiftRule, "Safari");
  settings().setList(keys::domainRules, {"", "me", "Safari"});
  app.events.flags = modifierFlags::shift;

  // Upper case is no web page: the applications for its extension are offered.
  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/page.HTML"));
  EXPECT_THAT(test::titles(delegate().linkIntake().openWithMenu()), ElementsAre("Editor"));
  EXPECT_THAT(runsSince(), IsEmpty());

  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/index.php"));
  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/a.shtml"));
  EXPECT_THAT(runsSince(), ElementsAre(openRun({"-a", "/Applications/Firefox.app", "/Users/me/index.php"}),
                                       openRun({"-a", "/Applications/Firefox.app", "/Users/me/a.shtml"})));
  EXPECT_EQ(settings().getString(keys::rulePriority), "0");

  settings().setBool(keys::multipleFileTypes, true);
  const auto before = transcript().size();
  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/index.php"));
  EXPECT_THAT(test::titles(delegate().linkIntake().openWithMenu()), ElementsAre("Editor"));
  EXPECT_THAT(runsSince(before), IsEmpty());
  EXPECT_THAT(launches(), UnorderedElementsAre("Firefox /Users/me/index.php", "Firefox /Users/me/a.shtml"));
}

TEST_F(LinkIntakeTest, ServiceHandsTheSelectionBackToTheProgram) {
  app.pasteboard.contents = "example.org";
  delegate().linkIntake().openUrlWithRtl(app.pasteboard);
  app.pasteboard.contents = "https//example.org/a";
  delegate().linkIntake().openUrlWithRtl(app.pasteboard);
  app.pasteboard.contents.reset();
  delegate().linkIntake().openUrlWithRtl(app.pasteboard);
  EXPECT_THAT(runsSince(), ElementsAre(openRun({"-b", "com.kestrova.Routelle", "http://example.org"}),
                                       openRun({"-b", "com.kestrova.Routelle", "https://example.org/a"})));
}

}  // namespace
}  // namespace routelle
