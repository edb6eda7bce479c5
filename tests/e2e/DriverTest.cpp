#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "scripting/ScriptCommands.h"
#include "settings/Keys.h"
#include "support/TestWorld.h"
#include "support/WorldSnapshot.h"

namespace routelle {
namespace {

using ::testing::HasSubstr;

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override { world.installCommonApps(); }

  test::DriverRun driver(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", world.root().string()});
    return test::runDriver(args);
  }

  test::TestWorld world;
};

TEST_F(DriverTest, ScriptCommandIsSeenByLaterProcesses) {
  auto run = driver({"script", "AddDomainScriptCommand", "example.com", "--FilePath", "Firefox"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.lastLine(), "true");
  EXPECT_EQ(run.err, "");

  auto rules = driver({"rules"});
  EXPECT_EQ(rules.status, 0);
  EXPECT_THAT(rules.out, HasSubstr("  example.com -> Firefox\n"));
  auto defaults = driver({"defaults"});
  EXPECT_THAT(defaults.out, HasSubstr("domains = (\"\", \"example.com\", \"Firefox\")\n"));
  EXPECT_EQ(world.reopen()->rules.domainRules().size(), 1u);

  run = driver({"script", "AddAppScriptCommand", "Mail", "--FilePath", "Google Chrome"});
  EXPECT_EQ(run.lastLine(), "true");
  run = driver({"script", "RemoveRuleScriptCommand", "example.com"});
  EXPECT_EQ(run.lastLine(), "true");
  rules = driver({"rules"});
  EXPECT_THAT(rules.out, ::testing::Not(HasSubstr("example.com")));
  EXPECT_THAT(rules.out, HasSubstr("  Mail -> Google Chrome\n"));

  // Refused without a script error: the result is printed and the exit is clean.
  run = driver({"script", "AddDomainScriptCommand", "example.org", "--FilePath", "Opera"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.lastLine(), "0");
}

TEST_F(DriverTest, BadInvocationsFailLoudlyAndChangeNothing) {
  ASSERT_EQ(driver({"script", "ShowBrowsersListCommandScript"}).lastLine(), "true");
  const auto before = test::snapshotLibrary(world.root());
  ASSERT_FALSE(before.empty());

  const std::vector<std::string> invocations[] = {
      {"script", "NoSuchScriptCommand", "example.com"},
      {"script", "AddDomainScriptCommand", "example.com"},
      {"script", "AddDomainScriptCommand", "--FilePath", "Firefox"},
      {"script", "AddDomainScriptCommand", "example.com", "extra", "--FilePath", "Firefox"},
      {"script", "AddDomainScriptCommand", "example.com", "--FilePath"},
      {"script", "BackModifierKeyScriptCommand", "shift", "--FilePath", "yes"},
      {"script", "SaveScriptCommand", "Firefox"},
      {"script"},
      {"frobnicate"},
  };
  for (const auto& args : invocations) {
    auto run = driver(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_NE(run.status, 0) << joined;
    EXPECT_THAT(run.err, HasSubstr("routelle: ")) << joined;
    EXPECT_EQ(run.out, "") << joined;
    EXPECT_EQ(test::snapshotLibrary(world.root()), before) << joined;
  }
  EXPECT_EQ(driver({"script", "NoSuchScriptCommand"}).status, 64);
  // A usage error never starts the program: a fresh world stays empty.
  test::TestWorld fresh;
  EXPECT_EQ(
      test::runDriver({"--root", fresh.root().string(), "script", "AddDomainScriptCommand", "a.com", "b.com"}).status,
      64);
  EXPECT_FALSE(std::filesystem::exists(fresh.root() / "Library" / "Preferences"));
  EXPECT_EQ(driver({"script", "AddDomainScriptCommand", "example.com"}).status, 1);
}

// A mistake in a call is refused with status 64 and the words that would have been accepted.
TEST_F(DriverTest, UsageErrorsNameWhatIsAccepted) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> named;  // in the error output
  } cases[] = {
      {{"click", "Preferences... > No such entry"},
       {"\"Preferences...\" has no entry \"No such entry\"", "\"Open in background\"", "\"slideMove:\""}},
      {{"click", "Nowhere"}, {"the menu has no entry \"Nowhere\"", "\"Preferences...\", ", "\"Quit\""}},
      {{"click", "Quit > Now"}, {"\"Quit\" has no submenu"}},
      {{"menu", "Experimental > Nope"},
       {"menu \"Experimental > Nope\": \"Experimental\" has no entry \"Nope\"", "\"Show List on text selection\""}},
      {{"open", "https://example.org/", "--choose", "Netscape"},
       {"--choose \"Netscape\" matches nothing shown", "\"Safari\"", "\"Firefox\""}},
      {{"open", "https://example.org/", "--choose", "Preferences..."}, {"--choose \"Preferences...\""}},
      {{"open", "https://example.org/", "--modifiers", "Shift"},
       {"unknown modifier \"Shift\"", "shift, control, option, command, capslock, function"}},
      {{"script", "AddDomainScriptCommand", "example.com", "--Bogus", "1"},
       {"AddDomainScriptCommand has no parameter --Bogus; it takes a direct parameter, --FilePath"}},
      {{"script", "SaveScriptCommand", "--FilePath", "Safari"},
       {"has no parameter --FilePath; it takes --BrowserName"}},
      {{"script", "ShowBrowsersListCommandScript", "now"}, {"takes no direct parameter; it takes no parameters"}},
      {{"default-browser-answer", "maybe"}, {"accept", "decline"}},
      {{"frobnicate"}, {"unknown verb \"frobnicate\""}},
      {{"open", "https://example.org/", "--bogus"}, {"--bogus"}},
  };
  for (const auto& c : cases) {
    auto run = driver(c.args);
    std::string joined;
    for (const auto& a : c.args) joined += a + " ";
    EXPECT_EQ(run.status, 64) << joined << run.err;
    for (const auto& words : c.named) EXPECT_THAT(run.err, HasSubstr(words)) << joined;
  }
}

TEST_F(DriverTest, HelpListsEveryScriptCommand) {
  auto run = test::runDriver({"--help"});
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(scriptCommandClassNames().size(), 18u);
  for (auto name : scriptCommandClassNames()) EXPECT_THAT(run.out, HasSubstr("  " + std::string(name) + "\n"));

  // Verbs in groups, and where this driver is.
  EXPECT_THAT(run.out, HasSubstr("usage: routelle"));
  EXPECT_THAT(run.out, HasSubstr("World set-up:\n"));
  EXPECT_THAT(run.out, HasSubstr("Inspection:\n"));
  EXPECT_THAT(run.out, HasSubstr("This driver: " + std::filesystem::canonical(ROUTELLE_DRIVER).string() + "\n"));

  run = test::runDriver({});
  EXPECT_EQ(run.status, 64);
  EXPECT_THAT(run.err, HasSubstr("usage: routelle"));

  run = test::runDriver({"click", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.out, HasSubstr("--dialog ANSWER"));
  EXPECT_THAT(run.out, HasSubstr("background=on|off"));
}

}  // namespace
}  // namespace routelle
