#include <gtest/gtest.h>

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

TEST_F(ScriptCommandsTest, AddDomainAndAppRules) {
  EXPECT_EQ(run("AddDomainScriptCommand", {{"", "example.com"}, {"FilePath", "Opera"}}), kZero);
  EXPECT_FALSE(settings().contains(keys::domains));
  EXPECT_EQ(run("AddDomainScriptCommand", {{"", "intranet"}, {"FilePath", "Firefox"}}), kFalse);
  EXPECT_FALSE(settings().contains(keys::domains));
  posts.clear();

  EXPECT_EQ(run("AddDomainScriptCommand", {{"", "https://www.example.com/a"}, {"FilePath", "firefox"}}), kTrue);
  EXPECT_EQ(posted(), (Names{"fetchmenu"}));
  EXPECT_FALSE(lastError);
  ASSERT_EQ(world.reopen()->rules.domainRules().size(), 1u);
  EXPECT_EQ(system().rules.domainRules()[0].domain, "www.example.com");

  posts.clear();
  EXPECT_EQ(run("AddAppScriptCommand", {{"", "Calendar"}, {"FilePath", "Safari"}}), kZero);
  EXPECT_EQ(run("AddAppScriptCommand", {{"", "Mail"}, {"FilePath", "Opera"}}), kZero);
  EXPECT_FALSE(settings().contains(keys::perApp));
  EXPECT_TRUE(posts.empty());
  EXPECT_EQ(run("AddAppScriptCommand", {{"", "Mail"}, {"FilePath", "Safari"}}), kTrue);
  EXPECT_EQ(settings().getList(keys::perApp).items, (Names{"", "Safari/*/*/*/*/Mail"}));

  EXPECT_EQ(run("RemoveRuleScriptCommand", {{"", "Mail"}}), kTrue);
  EXPECT_EQ(run("RemoveRuleScriptCommand", {{"", "www.example.com"}}), kTrue);
  EXPECT_EQ(run("RemoveRuleScriptCommand", {{"", "www.example.com"}}), kFalse);
  EXPECT_TRUE(system().rules.domainRules().empty());
  EXPECT_TRUE(system().rules.appRules().empty());
}

TEST_F(ScriptCommandsTest, SaveSetsTheDefaultActionByAcceptedName) {
  world.install("Arc", "company.thebrowser.Browser");
  ASSERT_TRUE(system().registry.addBrowserNamed("Arc"));
  const std::pair<const char*, const char*> accepted[] = {
      {"google chrome", "Google Chrome"},
      {"torbrowser", "TorBrowser"},
      {"Show Browsers List", "Show Browser List"},
      {"use the opened browser", "Use the opened browser"},
      {"arc.app", "Arc.app"},
      {"SAFARI", "Safari"},
  };
  for (const auto& [given, stored] : accepted) {
    EXPECT_EQ(run("SaveScriptCommand", {{"BrowserName", given}}), kTrue) << given;
    EXPECT_EQ(settings().getString(keys::login), stored) << given;
  }
  EXPECT_EQ(run("SaveScriptCommand", {{"BrowserName", "Netscape"}}), kFalse);
  EXPECT_EQ(run("SaveScriptCommand", {{"BrowserName", ""}}), kFalse);
  EXPECT_EQ(world.reopen()->settings.getString(keys::login), "Safari");
  EXPECT_TRUE(posts.empty());

  EXPECT_EQ(run("UseTheOpenedBrowser", {}), kTrue);
  EXPECT_EQ(settings().getString(keys::login), "Use the opened browser");
  EXPECT_EQ(run("ShowBrowsersListCommandScript", {}), kTrue);
  EXPECT_EQ(settings().getString(keys::login), "Show Browser List");
  EXPECT_TRUE(posts.empty());
}

TEST_F(ScriptCommandsTest, ModifierKeysAndPriority) {
  EXPECT_EQ(run("BackModifierKeyScriptCommand", {{"", "Shift"}, {"FilePath", true}}), kTrue);
  EXPECT_EQ(system().standard.object("shiftback"), DefaultsValue(true));
  EXPECT_EQ(posted(), (Names{"fetchmenu"}));
  EXPECT_EQ(run("BackModifierKeyScriptCommand", {{"", "shift"}, {"FilePath", false}}), kTrue);
  EXPECT_FALSE(settings().contains("shiftback"));
  posts.clear();
  EXPECT_EQ(run("BackModifierKeyScriptCommand", {{"", "option"}, {"FilePath", true}}), kZero);
  EXPECT_FALSE(settings().contains("optionback"));
  EXPECT_TRUE(posts.empty());

  EXPECT_EQ(run("ModifierKeyScriptCommand", {{"", "CTRL"}, {"FilePath", "Firefox"}}), kZero);
  EXPECT_EQ(settings().getString(keys::ctrl), "Firefox");
  const auto before = test::snapshotLibrary(world.root());
  EXPECT_EQ(run("ModifierKeyScriptCommand", {{"", "option"}, {"FilePath", "Firefox"}}), kZero);
  EXPECT_EQ(test::snapshotLibrary(world.root()), before);

  posts.clear();
  EXPECT_EQ(run("ChangePriorityScriptCommand", {{"FilePath", "PER APP"}}), kTrue);
  EXPECT_EQ(settings().getString(keys::priority), "1");
  EXPECT_EQ(posted(), (Names{"fetchmenu"}));
  posts.clear();
  EXPECT_EQ(run("ChangePriorityScriptCommand", {{"FilePath", "app"}}), kZero);
  EXPECT_EQ(settings().getString(keys::priority), "1");
  EXPECT_TRUE(posts.empty());
  EXPECT_EQ(run("ChangePriorityScriptCommand", {{"FilePath", "Per Domain"}}), kTrue);
  EXPECT_EQ(settings().getString(keys::priority), "0");
}

TEST_F(ScriptCommandsTest, PreferencesByNameReachSettingsUpdaterAndHandlers) {
  EXPECT_EQ(run("EnablePreferenceScriptCommand", {{"", "show url on browsers list selection menu"}}), kTrue);
  EXPECT_EQ(settings().getBool(keys::hideUrl), false);
  EXPECT_EQ(run("DisablePreferenceScriptCommand", {{"", "Show URL on Browsers List Selection Menu"}}), kTrue);
  EXPECT_EQ(settings().getBool(keys::hideUrl), true);
  EXPECT_EQ(run("DisablePreferenceScriptCommand", {{"", "Menu Bar Only"}}), kTrue);
  EXPECT_EQ(settings().getBool(keys::hide), false);
  EXPECT_EQ(run("EnablePreferenceScriptCommand", {{"", "OPEN IN BACKGROUND"}}), kTrue);
  EXPECT_EQ(world.reopen()->settings.getBool(keys::background), true);
  EXPECT_EQ(posted(), (Names(4, "fetchmenu")));

  EXPECT_EQ(run("EnablePreferenceScriptCommand", {{"", "Automatically check for updates"}}), kTrue);
  EXPECT_TRUE(world.reopen()->updater.automaticallyChecksForUpdates());
  EXPECT_EQ(run("DisablePreferenceScriptCommand", {{"", "automatically check for updates"}}), kTrue);
  EXPECT_FALSE(world.reopen()->updater.automaticallyChecksForUpdates());

  EXPECT_EQ(run("EnablePreferenceScriptCommand", {{"", "Use Routelle for mailto: links"}}), kTrue);
  EXPECT_EQ(world.reopen()->launchServices.defaultHandler("mailto"), "com.kestrova.Routelle");
  EXPECT_EQ(run("DisablePreferenceScriptCommand", {{"", "use routelle for mailto: links"}}), kTrue);
  EXPECT_EQ(world.reopen()->launchServices.defaultHandler("MAILTO"), "com.apple.mail");

  // An unknown name changes nothing but still asks for fresh menus.
  posts.clear();
  const auto before = test::snapshotLibrary(world.root());
  EXPECT_EQ(run("EnablePreferenceScriptCommand", {{"", "Open in background please"}}), kFalse);
  EXPECT_EQ(run("DisablePreferenceScriptCommand", {{"", ""}}), kFalse);
  EXPECT_EQ(test::snapshotLibrary(world.root()), before);
  EXPECT_EQ(posted(), (Names{"fetchmenu", "fetchmenu"}));
  EXPECT_FALSE(lastError);
}

TEST_F(ScriptCommandsTest, AddAndRemoveBrowsers) {
  world.install("Arc", "company.thebrowser.Browser");
  EXPECT_EQ(run("AddBrowserScriptCommand", {{"", "arc"}}), kTrue);
  EXPECT_EQ(run("AddBrowserScriptCommand", {{"", "Arc"}}), kFalse);
  EXPECT_EQ(run("AddBrowserScriptCommand", {{"", "Missing"}}), kFalse);
  EXPECT_EQ(run("AddBrowserScriptCommand", {{"", "Google Chrome"}}), kTrue);
  EXPECT_EQ(system().registry.addedIdentifiers(), (Names{"company.thebrowser.Browser", "com.google.Chrome"}));
  EXPECT_EQ(posted(), (Names(4, "fetchmenu")));

  // The name is capitalised before it is compared with the default action.
  ASSERT_EQ(run("SaveScriptCommand", {{"BrowserName", "google chrome"}}), kTrue);
  EXPECT_EQ(run("RemoveBrowserScriptCommand", {{"", "google chrome"}}), kTrue);
  EXPECT_EQ(settings().getString(keys::login), "Show Browser List");
  EXPECT_EQ(run("RemoveBrowserScriptCommand", {{"", "google chrome"}}), kFalse);
  EXPECT_EQ(system().registry.addedIdentifiers(), (Names{"company.thebrowser.Browser"}));
}

struct Delegate final : UpdaterDelegate {
  Names calls;
  void updaterDidNotFindUpdate() override { calls.push_back("didNotFind"); }
  void updaterDidFindValidUpdate() override { calls.push_back("didFind"); }
  void updaterDidFinishLoadingAppcast() override { calls.push_back("didFinishLoading"); }
  bool updaterShouldRelaunchApplication() override { return false; }
  void updaterWillRelaunchApplication() override { calls.push_back("willRelaunch"); }
};

TEST_F(ScriptCommandsTest, UpdateCheckImportAndExport) {
  Delegate delegate;
  system().updater.setDelegate(&delegate);
  EXPECT_EQ(run("CheckForUpdatesCommandScript", {}), kZero);
  EXPECT_EQ(delegate.calls, (Names{"didFinishLoading", "didNotFind"}));
  EXPECT_EQ(run("CheckForUpdatesCommandScript", {}), kZero);
  HostDefaults updaterState(system().world.updaterFile());
  EXPECT_EQ(updaterState.object("ManualChecks"), DefaultsValue(std::int64_t{2}));
  system().updater.setDelegate(nullptr);

  EXPECT_EQ(run("ImportCommandScript", {{"FilePath", "/Users/ann/rules.txt"}}), kZero);
  EXPECT_EQ(run("ExportCommandScript", {{"FilePath", "/Users/ann/Desktop"}}), kZero);
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[0].first, "import");
  EXPECT_EQ(posts[0].second, (UserInfo{{"path", "/Users/ann/rules.txt"}}));
  EXPECT_EQ(posts[1].first, "export");
  EXPECT_EQ(posts[1].second, (UserInfo{{"path", "/Users/ann/Desktop"}}));
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
  };
  // Something to lose: a rule of each kind and a default action.
  ASSERT_TRUE(system().rules.addAppRule("Mail", "Safari"));
  ASSERT_TRUE(system().rules.addDomainRule("example.com", "Safari"));
  settings().setString(keys::login, "Safari");
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
  EXPECT_EQ(scriptCommandClassNames().size(), 16u);
}

}  // namespace
}  // namespace routelle
