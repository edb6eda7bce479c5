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

TEST_F(DriverTest, HelpListsEveryScriptCommand) {
  auto run = test::runDriver({"--help"});
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(scriptCommandClassNames().size(), 16u);
  for (auto name : scriptCommandClassNames()) EXPECT_THAT(run.out, HasSubstr("  " + std::string(name) + "\n"));

  run = test::runDriver({});
  EXPECT_EQ(run.status, 64);
  EXPECT_THAT(run.err, HasSubstr("usage: routelle"));
}

}  // namespace
}  // namespace routelle
