#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "settings/BrowserProfiles.h"
#include "settings/Keys.h"
#include "settings/RuleProfiles.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;

MATCHER_P2(Profile, directory, name, "") { return arg.directory == directory && arg.name == name; }

TEST(ProfileFiles, ReadsChromiumLocalState) {
  const auto profiles = chromiumProfiles(R"({"profile": {"info_cache": {
      "Profile 1": {"name": "Work", "avatar_icon": "x"},
      "Default": {"name": "Personal – Ünïcode"},
      "Profile 2": {"name": 7},
      "../escape": {"name": "Outside"},
      "Profile 3": {"name": "two\nlines"}},
      "last_used": "Default"}})");
  EXPECT_THAT(profiles, ElementsAre(Profile("Default", "Personal – Ünïcode"), Profile("Profile 1", "Work")));
}

TEST(ProfileFiles, ReadsFirefoxProfilesIni) {
  const auto profiles = firefoxProfiles(
      "[Install308046B0AF4A39CB]\nDefault=Profiles/a.default-release\n\n"
      "[Profile1]\nName=Work\nIsRelative=1\nPath=Profiles/b.work\n\n"
      "[Profile0]\nName=default-release\nIsRelative=1\nPath=Profiles/a.default-release\nDefault=1\n\n"
      "[Profile2]\nName=Elsewhere\nIsRelative=0\nPath=/Volumes/Data/ff\n\n"
      "[Profile3]\nName=Escaping\nIsRelative=1\nPath=../../etc\n\n"
      "[Profile4]\nName=Relative claims absolute\nIsRelative=0\nPath=Profiles/c\n\n"
      "[General]\nStartWithLastProfile=1\nVersion=2\n");
  ASSERT_THAT(profiles, ElementsAre(Profile("Profiles/a.default-release", "default-release"),
                                    Profile("Profiles/b.work", "Work"), Profile("/Volumes/Data/ff", "Elsewhere")));
  EXPECT_FALSE(profiles[2].relative);
}

// What a damaged or hostile file gives: no profiles, quickly, and no crash.
TEST(ProfileFiles, HostileFilesGiveNoProfiles) {
  const std::string valid = R"({"profile":{"info_cache":{"Default":{"name":"Me"}}}})";
  ASSERT_EQ(chromiumProfiles(valid).size(), 1u);
  const std::string padded =
      valid.substr(0, valid.size() - 1) + ",\"pad\":\"" + std::string(kMaxProfileFile, 'x') + "\"}";
  std::string deep = R"({"profile":{"info_cache":{"Default":{"name":"Me"}}},"x":)";
  deep += std::string(100000, '[') + std::string(100000, ']') + "}";
  const struct {
    const char* what;
    std::string bytes;
  } jsonCases[] = {
      {"empty", ""},
      {"not JSON", "profile = Default"},
      {"truncated", valid.substr(0, valid.size() - 3)},
      {"invalid UTF-8 in a name",
       R"({"profile":{"info_cache":{"Default":{"name":"M)" + std::string("\xc3\x28") + R"("}}}})"},
      {"overlong encoding", R"({"profile":{"info_cache":{"Default":{"name":")" + std::string("\xc0\xaf") + R"("}}}})"},
      {"too large", padded},
      {"too deep", deep},
      {"info_cache not an object", R"({"profile":{"info_cache":["Default"]}})"},
      {"top level an array", "[1,2,3]"},
      {"NUL inside",
       std::string(R"({"profile":{"info_cache":{"Default":{"name":"M)") + std::string(1, '\0') + R"("}}}})"},
  };
  for (const auto& c : jsonCases) EXPECT_THAT(chromiumProfiles(c.bytes), IsEmpty()) << c.what;

  const struct {
    const char* what;
    std::string bytes;
  } iniCases[] = {
      {"JSON instead", valid},
      {"invalid UTF-8", "[Profile0]\nName=W\xff\nPath=Profiles/a\n"},
      {"NUL inside", std::string("[Profile0]\nName=W\0rk\nPath=Profiles/a\n", 38)},
      {"too large", "[Profile0]\nName=W\nPath=Profiles/a\n;" + std::string(kMaxProfileFile, 'x') + "\n"},
      {"line without =", "[Profile0]\nName=W\nPath=Profiles/a\nbroken line\n"},
  };
  for (const auto& c : iniCases) EXPECT_THAT(firefoxProfiles(c.bytes), IsEmpty()) << c.what;
}

TEST(ProfileTitles, SplitAtTheDashBetweenBlanks) {
  auto split = splitProfileTitle("Google Chrome — Work — Team");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->browser, "Google Chrome");
  EXPECT_EQ(split->profile, "Work — Team");
  for (const char* plain : {"Google Chrome", "Google Chrome—Work", " — Work", "Google Chrome — "})
    EXPECT_FALSE(splitProfileTitle(plain)) << plain;
}

class ProfileLaunchTest : public test::AppTest {
 protected:
  void SetUp() override {
    installCommonApps();
    settings().setString(keys::defaultChoice, "Safari");
    write("Google/Chrome/Local State", R"({"profile":{"info_cache":{"Default":{"name":"Personal"},
                                          "Profile 1":{"name":"Work"}}}})");
    write("Firefox/profiles.ini", "[Profile0]\nName=Work\nIsRelative=1\nPath=Profiles/w.work\n");
    delegate().setTraceSink([this](std::string_view line) { traced.emplace_back(line); });
  }
  void write(const std::string& file, const std::string& bytes) {
    const auto path = dir.path() / "Users/user/Library/Application Support" / file;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  BrowserLauncher& launcher() { return delegate().launcher(); }
  std::vector<std::string> traced;
};

TEST_F(ProfileLaunchTest, EachFamilyGetsItsOwnArgumentsAsSeparateWords) {
  launcher().launchBrowser("https://a.example/", "Google Chrome", "Work");
  launcher().launchBrowser("https://b.example/", "Google Chrome — Personal");
  launcher().launchBrowser("https://c.example/", "Firefox", "Profiles/w.work");
  settings().setBool(keys::openInBackground, true);
  launcher().launchBrowser("https://d.example/", "Firefox — Work");
  EXPECT_THAT(
      runsSince(),
      ElementsAre(
          test::openRun({"-n", "-a", "/Applications/Google Chrome.app", "--args", "--profile-directory=Profile 1",
                         "https://a.example/"}),
          test::openRun({"-n", "-a", "/Applications/Google Chrome.app", "--args", "--profile-directory=Default",
                         "https://b.example/"}),
          test::openRun({"-n", "-a", "/Applications/Firefox.app", "--args", "--profile",
                         "/Users/user/Library/Application Support/Firefox/Profiles/w.work", "https://c.example/"}),
          test::openRun({"-n", "-g", "-a", "/Applications/Firefox.app", "--args", "--profile",
                         "/Users/user/Library/Application Support/Firefox/Profiles/w.work", "https://d.example/"})));
  EXPECT_THAT(traced, Not(Contains(HasSubstr("opens as itself"))));
}

TEST_F(ProfileLaunchTest, AMissingProfileFallsBackToTheBrowserAndSaysSo) {
  launcher().launchBrowser("https://a.example/", "Google Chrome", "Gone");
  // A link that would read as the browser's own option is never put after its arguments.
  launcher().launchBrowser("-a.example", "Google Chrome", "Work");
  write("Google/Chrome/Local State", "{ damaged");
  launcher().launchBrowser("https://b.example/", "Google Chrome — Work");
  EXPECT_THAT(runsSince(), ElementsAre(test::openRun({"-a", "/Applications/Google Chrome.app", "https://a.example/"}),
                                       test::openRun({"-a", "/Applications/Google Chrome.app", "--", "-a.example"}),
                                       test::openRun({"-a", "/Applications/Google Chrome.app", "https://b.example/"})));
  EXPECT_THAT(traced, IsSupersetOf({"Google Chrome lists no profile \"Gone\" any more: it opens as itself",
                                    "the link would read as an option of Google Chrome: it opens as itself",
                                    "Google Chrome lists no profile \"Work\" any more: it opens as itself"}));
}

// A site or path rule keeps its profile by its own text, whichever host it decides for.
TEST_F(ProfileLaunchTest, SiteAndPathRulesKeepTheirProfileByTheirText) {
  auto& rules = app.system.rules;
  ASSERT_TRUE(rules.addDomainRule("*.work.example", "Google Chrome"));
  ASSERT_TRUE(rules.addDomainRule("docs.example/team/", "Google Chrome"));
  RuleProfiles profiles(settings());
  // As the rule dialog keeps them: by the text the rule is stored as.
  profiles.setProfile(RuleProfiles::domainRule(*rules.normaliseDomain("*.work.example")), "Google Chrome", "Profile 1");
  profiles.setProfile(RuleProfiles::domainRule(*rules.normaliseDomain("docs.example/team/")), "Google Chrome",
                      "Default");
  route("https://mail.work.example/x");
  route("https://docs.example/team/y");
  route("https://docs.example/other");
  EXPECT_THAT(launches(), ElementsAre("Google Chrome --profile-directory=Profile 1 https://mail.work.example/x",
                                      "Google Chrome --profile-directory=Default https://docs.example/team/y",
                                      "Safari https://docs.example/other"));
}

TEST_F(ProfileLaunchTest, ARuleKeepsItsBrowserNameAndItsProfileBesideIt) {
  settings().setList(keys::domainRules, {"", "work.example", "Google Chrome", "home.example", "Google Chrome"});
  RuleProfiles profiles(settings());
  profiles.setProfile(RuleProfiles::domainRule("Work.Example."), "Google Chrome", "Profile 1");
  // A reader without profiles sees the browser's name where it always was.
  EXPECT_THAT(app.system.rules.domainRules()[0].browser, "Google Chrome");
  route("https://work.example/x");
  route("https://home.example/x");
  // The rule now names another browser: its old profile no longer applies.
  settings().setList(keys::domainRules, {"", "work.example", "Firefox"});
  route("https://work.example/y");
  EXPECT_THAT(launches(), ElementsAre("Google Chrome --profile-directory=Profile 1 https://work.example/x",
                                      "Google Chrome https://home.example/x", "Firefox https://work.example/y"));
  profiles.setProfile(RuleProfiles::domainRule("work.example"), "", "");
  EXPECT_THAT(profiles.entries(), IsEmpty());
}

// A freedesktop system: browsers are known by their entry ids and keep their
// profiles where those browsers do there; the Mac's names and folders mean nothing.
TEST_F(ProfileLaunchTest, AFreedesktopSystemFindsProfilesWhereItsBrowsersKeepThem) {
  auto& files = app.files;
  files.dataFolders = {ApplicationDataFolders::Layout::freedesktop, "/Users/user/.xdg-config"};
  install("google-chrome", "google-chrome");
  install("firefox-esr", "firefox-esr");
  const auto writeAt = [&](const std::string& file, const std::string& bytes) {
    const auto path = dir.path() / ("Users/user/" + file);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  };
  writeAt(".xdg-config/google-chrome/Local State", R"({"profile":{"info_cache":{"Profile 2":{"name":"Work"}}}})");
  writeAt(".mozilla/firefox/profiles.ini", "[Profile0]\nName=Home\nIsRelative=1\nPath=h.home\n");

  BrowserProfiles profiles(files);
  const struct {
    const char* browser;
    std::optional<std::string> listFile;
  } cases[] = {
      {"google-chrome", "/Users/user/.xdg-config/google-chrome/Local State"},
      {"/usr/share/applications/brave-browser.desktop",
       "/Users/user/.xdg-config/BraveSoftware/Brave-Browser/Local State"},
      {"vivaldi-stable", "/Users/user/.xdg-config/vivaldi/Local State"},
      {"firefox-esr", "/Users/user/.mozilla/firefox/profiles.ini"},
      {"librewolf", "/Users/user/.librewolf/profiles.ini"},
      {"Google Chrome", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(profiles.listFile(c.browser), c.listFile) << c.browser;

  launcher().launchBrowser("https://a.example/", "google-chrome", "Work");
  launcher().launchBrowser("https://b.example/", "firefox-esr — Home");
  // Only the entry's own id keeps profiles here.
  launcher().launchBrowser("https://c.example/", "Google Chrome", "Work");
  EXPECT_THAT(runsSince(),
              ElementsAre(test::openRun({"-n", "-a", "/Applications/google-chrome.app", "--args",
                                         "--profile-directory=Profile 2", "https://a.example/"}),
                          test::openRun({"-n", "-a", "/Applications/firefox-esr.app", "--args", "--profile",
                                         "/Users/user/.mozilla/firefox/h.home", "https://b.example/"}),
                          test::openRun({"-a", "/Applications/Google Chrome.app", "https://c.example/"})));
}

}  // namespace
}  // namespace routelle
