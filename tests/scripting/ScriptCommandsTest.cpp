#include <gtest/gtest.h>

#include <filesystem>

#include "scripting/ScriptCommands.h"
#include "settings/Keys.h"
#include "support/TestWorld.h"
#include "support/WorldSnapshot.h"

namespace routelle {
namespace {

using Arguments = std::map<std::string, ScriptArgument>;
using Names = std::vector<std::string>;

const ScriptResult kTrue{true};
const ScriptResult kFalse{false};
const ScriptResult kZero{0};

class ScriptCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.installCommonApps();
    system().workspaceNotifications.addObserver(
        "", [this](const std::string& name, const UserInfo& info) { posts.emplace_back(name, info); });
  }

  HostSystem& system() { return world.system(); }
  SettingsStore& settings() { return system().settings; }

  ScriptResult run(std::string_view className, Arguments arguments) {
    auto command = makeScriptCommand(className, system().scripting);
    if (!command) {
      ADD_FAILURE() << "no command " << className;
      return kZero;
    }
    command->evaluatedArguments = std::move(arguments);
    ScriptResult result = command->performDefaultImplementation();
    lastError = command->scriptErrorString();
    return result;
  }

  Names posted() const {
    Names out;
    for (const auto& p : posts) out.push_back(p.first);
    return out;
  }

  test::TestWorld world;
  std::vector<std::pair<std::string, UserInfo>> posts;
  std::optional<std::string> lastError;
};

TEST_F(ScriptCommandsTest, TheProgramItselfIsNeverMadeATarget) {
  // Only a renamed copy is installed: the program's own name is refused by name alone.
  world.install("Loop", "Com.Kestrova.Routelle", "/Users/ann/Applications");
  // An added list another tool wrote, naming the renamed copy.
  settings().setList(keys::addedBrowsers, {"", "com.kestrova.routelle"});
  settings().setString(keys::defaultChoice, "Safari");
  posts.clear();
  const auto before = test::snapshotLibrary(world.root());

  const std::pair<const char*, Arguments> refused[] = {
      {"AddDomainScriptCommand", {{"", "loop.example"}, {"FilePath", "Routelle"}}},
      {"AddDomainScriptCommand", {{"", "loop.example"}, {"FilePath", "routelle.app"}}},
      {"AddDomainScriptCommand", {{"", "loop.example"}, {"FilePath", "/Applications/Routelle.app"}}},
      {"AddDomainScriptCommand", {{"", "loop.example"}, {"FilePath", "Loop"}}},
      {"AddAppScriptCommand", {{"", "Mail"}, {"FilePath", "ROUTELLE"}}},
      {"AddAppScriptCommand", {{"", "Mail"}, {"FilePath", "loop.app"}}},
      {"ModifierKeyScriptCommand", {{"", "shift"}, {"FilePath", "Routelle"}}},
      {"ModifierKeyScriptCommand", {{"", "command"}, {"FilePath", "/Users/ann/Applications/Loop.app"}}},
      {"SaveScriptCommand", {{"BrowserName", "Loop.app"}}},
      {"SaveScriptCommand", {{"BrowserName", "loop"}}},
      {"AddBrowserScriptCommand", {{"", "Routelle"}}},
  };
  for (const auto& [className, arguments] : refused) {
    const auto& target = std::get<std::string>(arguments.count("FilePath") ? arguments.at("FilePath")
                                               : arguments.count("")       ? arguments.at("")
                                                                           : arguments.at("BrowserName"));
    EXPECT_EQ(run(className, arguments), kFalse) << className << " " << target;
    EXPECT_FALSE(lastError) << className << " " << target;
  }
  EXPECT_EQ(test::snapshotLibrary(world.root()), before);
  EXPECT_EQ(posted(), Names(1, "fetchmenu"));  // only the add-browser command asks for fresh menus
}

TEST_F(ScriptCommandsTest, APreferenceWriteThatFailsIsAScriptErrorNamingTheCause) {
  ASSERT_EQ(run("AddDomainScriptCommand", {{"", "a.com"}, {"FilePath", "Firefox"}}), kTrue);
  const auto file = system().world.preferencesFile(domains::standard);
  std::filesystem::remove(file);
  std::filesystem::create_directories(file / "blocking");

  // One command of each kind: a rule, the default action, a preference.
  const std::pair<const char*, Arguments> writing[] = {
      {"AddDomainScriptCommand", {{"", "example.com"}, {"FilePath", "Firefox"}}},
      {"SaveScriptCommand", {{"BrowserName", "Firefox"}}},
      {"EnablePreferenceScriptCommand", {{"", "Open in background"}}},
  };
  for (const auto& [className, arguments] : writing) {
    EXPECT_EQ(run(className, arguments), kZero) << className;
    ASSERT_TRUE(lastError) << className;
    EXPECT_NE(lastError->find("could not be saved"), std::string::npos) << *lastError;
    EXPECT_NE(lastError->find("Is a directory"), std::string::npos) << *lastError;
  }
  // A command that writes nothing still answers.
  EXPECT_EQ(run("ChangePriorityScriptCommand", {{"FilePath", "app"}}), kZero);
  EXPECT_FALSE(lastError);

  auto failed = test::runDriver(
      {"--root", world.root().string(), "script", "AddDomainScriptCommand", "b.com", "--FilePath", "Firefox"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("routelle: script error: The preferences could not be saved:"), std::string::npos)
      << failed.err;
  EXPECT_EQ(failed.out.find("true"), std::string::npos);
}

TEST_F(ScriptCommandsTest, MissingOrMistypedArgumentsAreScriptErrorsThatChangeNothing) {
  const std::pair<const char*, Arguments> valid[] = {
      {"AddDomainScriptCommand", {{"", "example.com"}, {"FilePath", "Firefox"}}},
      {"AddAppScriptCommand", {{"", "Mail"}, {"FilePath", "Firefox"}}},
      {"SaveScriptCommand", {{"BrowserName", "Firefox"}}},
      {"BackModifierKeyScriptCommand", {{"", "shift"}, {"FilePath", true}}},
      {"RemoveBrowserScriptCommand", {{"", "Firefox"}}},
      {"RemoveRuleScriptCommand", {{"", "Mail"}}},
      {"ModifierKeyScriptCommand", {{"", "shift"}, {"FilePath", "Firefox"}}},
      {"ChangePriorityScriptCommand", {{"FilePath", "per app"}}},
      {"EnablePreferenceScriptCommand", {{"", "Open in background"}}},
      {"DisablePreferenceScriptCommand", {{"", "Use Routelle for mailto: links"}}},
      {"ImportCommandScript", {{"FilePath", "/tmp/rules.txt"}}},
      {"AddBrowserScriptCommand", {{"", "Firefox"}}},
      {"ExportCommandScript", {{"FilePath", "/tmp"}}},
      {"ExplainScriptCommand", {{"", "https://example.com/"}}},
      {"AddCleaningEntryScriptCommand", {{"", "ref_src"}}},
  };
  // Something to lose: a rule of each kind and a default action.
  ASSERT_TRUE(system().rules.addAppRule("Mail", "Safari"));
  ASSERT_TRUE(system().rules.addDomainRule("example.com", "Safari"));
  settings().setString(keys::defaultChoice, "Safari");
  posts.clear();
  const auto before = test::snapshotLibrary(world.root());

  auto expectRefused = [&](const char* className, Arguments arguments, const std::string& what) {
    EXPECT_EQ(run(className, std::move(arguments)), kZero) << className << " " << what;
    EXPECT_TRUE(lastError && !lastError->empty()) << className << " " << what;
    EXPECT_TRUE(posts.empty()) << className << " " << what;
    EXPECT_EQ(test::snapshotLibrary(world.root()), before) << className << " " << what;
    posts.clear();
  };
  for (const auto& [className, arguments] : valid) {
    expectRefused(className, {}, "without arguments");
    for (const auto& [key, value] : arguments) {
      Arguments missing = arguments;
      missing.erase(key);
      expectRefused(className, missing, "without \"" + key + "\"");
      Arguments mistyped = arguments;
      mistyped[key] = std::holds_alternative<bool>(value) ? ScriptArgument("true") : ScriptArgument(true);
      expectRefused(className, mistyped, "with mistyped \"" + key + "\"");
      if (std::holds_alternative<std::string>(value)) {
        Arguments broken = arguments;
        broken[key] = std::string(
            "Fire\xff"
            "fox");
        expectRefused(className, broken, "with invalid UTF-8 in \"" + key + "\"");
      }
    }
  }
  EXPECT_FALSE(makeScriptCommand("NoSuchCommand", system().scripting));
  EXPECT_FALSE(makeScriptCommand("addDomainScriptCommand", system().scripting));
  EXPECT_EQ(scriptCommandClassNames().size(), 18u);
}

}  // namespace
}  // namespace routelle
