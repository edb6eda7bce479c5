#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
}

TEST_F(LinkIntakeTest, EveryLinkStartsWithFreshRequestFlags) {
  installCommonApps();
  settings().setString(keys::login, "Firefox");
  // Left over from an earlier request: neither may reach this link.
  delegate().helpBack = true;
  delegate().som = false;
  EXPECT_THAT(route("https://example.org/"),
              ElementsAre(openRun({"-a", "/Applications/Firefox.app", "https://example.org/"})));
  EXPECT_FALSE(delegate().helpBack);
  EXPECT_TRUE(delegate().som);

  delegate().som = false;
  delegate().handleGetURLEvent(std::nullopt);
  EXPECT_TRUE(delegate().som);
  EXPECT_THAT(launches(), ElementsAre("Firefox https://example.org/"));
}

TEST_F(LinkIntakeTest, MailLinkOffersTheMailApplicationsAndNothingElse) {
  installCommonApps();
  install(test::applicationBundle("Outlook", "com.microsoft.Outlook", {"mailto"}));
  install(test::applicationBundle("Routelle", "com.kestrova.Routelle", {"http", "mailto"}));
  settings().setBool(keys::hideExit, false);
  // None of these may decide where a mail link goes.
  settings().setString(keys::login, "Firefox");
  settings().setString(keys::shift, "Safari");
  settings().setList(keys::domains, {"", "name", "Safari"});

  EXPECT_THAT(route("mailto:name", modifierFlags::shift), IsEmpty());
  EXPECT_EQ(delegate().casa, "mailto:name");
  const auto& items = delegate().mview2.items;
  ASSERT_THAT(test::titles(delegate().mview2), ElementsAre("Mail", "Outlook", "      Close"));
  EXPECT_EQ(items[0].keyEquivalent, "/Applications/Mail.app");
  EXPECT_EQ(items[0].action, "openx:");
  EXPECT_EQ(items[1].keyEquivalent, "/Applications/Outlook.app");
  EXPECT_EQ(items[2].keyEquivalent, "c");
  EXPECT_EQ(items[2].action, "nada");

  // The entry's full path is taken for a browser name: the first open misses.
  app.presenter.choice = "Mail";
  EXPECT_THAT(route("mailto:name"), ElementsAre(openRun({"-a", "/Applications//Applications/Mail.app", "mailto:name"}),
                                                openRun({"-a", "/Applications/Mail.app", "mailto:name"})));
  EXPECT_THAT(launches(), ElementsAre("Mail mailto:name"));
}

TEST_F(LinkIntakeTest, MailLinkLosesEveryWebScheme) {
  installCommonApps();
  route("https://mailto:a@b.org?body=see%20http://x.org%20or%20https://y.org");
  EXPECT_EQ(delegate().casa, "mailto:a@b.org?body=see%20x.org%20or%20y.org");
  EXPECT_THAT(test::titles(delegate().mview2), ElementsAre("Mail"));
}

TEST_F(LinkIntakeTest, OpenedFilesGoToEditorsOrByTheDefaultChoiceAlone) {
  installCommonApps();
  install(test::applicationBundle("Editor", "com.example.Editor", {}, {"html", "php"}));
  install(test::applicationBundle("Notes", "com.example.Notes", {}, {"txt"}));
  settings().setString(keys::login, "Firefox");
  settings().setString(keys::shift, "Safari");
  settings().setList(keys::domains, {"", "me", "Safari"});
  app.events.flags = modifierFlags::shift;

  // Upper case is no web page: the applications for its extension are offered.
  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/page.HTML"));
  EXPECT_THAT(test::titles(delegate().mview2), ElementsAre("Editor"));
  EXPECT_THAT(runsSince(), IsEmpty());

  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/index.php"));
  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/a.shtml"));
  EXPECT_THAT(runsSince(), ElementsAre(openRun({"-a", "/Applications/Firefox.app", "/Users/me/index.php"}),
                                       openRun({"-a", "/Applications/Firefox.app", "/Users/me/a.shtml"})));
  EXPECT_EQ(settings().getString(keys::priority), "0");

  settings().setBool(keys::showeditor, true);
  const auto before = transcript().size();
  EXPECT_TRUE(delegate().applicationOpenFile("/Users/me/index.php"));
  EXPECT_THAT(test::titles(delegate().mview2), ElementsAre("Editor"));
  EXPECT_THAT(runsSince(before), IsEmpty());
  EXPECT_THAT(launches(), UnorderedElementsAre("Firefox /Users/me/index.php", "Firefox /Users/me/a.shtml"));
}

TEST_F(LinkIntakeTest, ServiceHandsTheSelectionBackToTheProgram) {
  app.pasteboard.contents = "example.org";
  delegate().openUrlWithRtl(app.pasteboard);
  app.pasteboard.contents = "https//example.org/a";
  delegate().openUrlWithRtl(app.pasteboard);
  app.pasteboard.contents.reset();
  delegate().openUrlWithRtl(app.pasteboard);
  EXPECT_THAT(runsSince(), ElementsAre(openRun({"-b", "com.kestrova.Routelle", "http://example.org"}),
                                       openRun({"-b", "com.kestrova.Routelle", "https://example.org/a"})));
}

}  // namespace
}  // namespace routelle
