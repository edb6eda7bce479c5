#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <tuple>

#include "settings/Keys.h"
#include "support/TestWorld.h"

namespace routelle {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class MenuDriverTest : public ::testing::Test {
 protected:
  test::DriverRun driver(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", world.root().string()});
    return test::runDriver(args);
  }
  test::TestWorld world;
};

// A second start finds every value in place and writes nothing: nothing waits
// for the preferences' lock on the way to a link.
TEST_F(MenuDriverTest, ASecondStartWritesNothing) {
  world.installCommonApps();
  ASSERT_EQ(driver({"menu"}).status, 0);
  auto stamp = [&](std::string_view domain) {
    struct stat st {};
    stat(world.system().world.preferencesFile(domain).c_str(), &st);
    return std::make_tuple(st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  };
  const auto standard = stamp(domains::standard);
  const auto suite = stamp(domains::suite);
  ASSERT_EQ(driver({"menu"}).status, 0);
  ASSERT_EQ(driver({"open", "https://example.org/", "--choose", "Safari"}).status, 0);
  EXPECT_EQ(stamp(domains::standard), standard);
  EXPECT_EQ(stamp(domains::suite), suite);
}

// The menu is written in blocks: a rule list longer than one block comes out
// whole and in order.
TEST_F(MenuDriverTest, ALongRuleListPrintsEveryRuleInOrder) {
  world.installCommonApps();
  constexpr int kRules = 4000;  // some 200 KB of menu
  std::vector<std::string> domains{""};
  for (int i = 0; i < kRules; ++i) {
    domains.push_back("site" + std::to_string(i) + ".example.com");
    domains.push_back(i % 2 ? "Firefox" : "Safari");
  }
  world.system().settings.setList(keys::domainRules, domains);
  const auto run = driver({"menu"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  int next = 0;
  std::size_t count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    const std::string rule = "  site" + std::to_string(next) + ".example.com\tnada <image /Applications/" +
                             (next % 2 ? "Firefox" : "Safari") + ".app 20x20>";
    if (line == rule) ++next;
  }
  EXPECT_EQ(next, kRules);
  EXPECT_EQ(run.out.back(), '\n');
  EXPECT_EQ(count, static_cast<std::size_t>(std::count(run.out.begin(), run.out.end(), '\n')));
  EXPECT_THAT(run.out, HasSubstr("\nQuit\texit"));
}

TEST_F(MenuDriverTest, MenuPrintsEveryEntryAndClickChangesTheSettings) {
  world.installCommonApps();
  // Through the menu: a default browser, a preference, the priority.
  auto click = driver({"click", "Temporally open with: > Firefox"});
  ASSERT_EQ(click.status, 0) << click.err;
  EXPECT_THAT(click.out, HasSubstr("  Firefox  ✓\topeny:"));
  // A click prints what it changed.
  EXPECT_THAT(click.out, HasSubstr("-✓Show Browsers List\topeny: [S]\n+Show Browsers List\topeny: [S]\n"));

  click = driver({"click", "Preferences... >    Open in background"});
  EXPECT_THAT(click.out, HasSubstr("  ✓Open in background\topenBack"));
  click = driver({"click", "Priority (Domain/App) >    Per App"});
  EXPECT_THAT(click.out, HasSubstr("\n+Priority (App/Domain)\tnada"));

  // A path that leads nowhere is a usage error.
  auto wrong = driver({"click", "Preferences... > No such entry"});
  EXPECT_EQ(wrong.status, 64);
  EXPECT_THAT(wrong.err, HasSubstr("No such entry"));
}

// A title may leave out its state mark and blanks, in either state; an exact title still wins.
TEST_F(MenuDriverTest, TitlesMatchWithOrWithoutTheirStateMark) {
  world.installCommonApps();
  const struct {
    std::string path;
    std::string shown;  // in the menu after the click
  } clicks[] = {
      {"Preferences... > Open in background", "  ✓Open in background\topenBack"},
      {"Preferences... > Open in background", "\n     Open in background\topenBack"},
      {"Preferences... > ✓Open in background", "  ✓Open in background\topenBack"},
      {" Preferences... >    ✓Open in background  ", "\n     Open in background\topenBack"},
      {"Temporally open with: > Firefox", "  Firefox  ✓\topeny:"},
      {"Temporally open with: > Firefox", "  Firefox  ✓\topeny:"},
      {"Temporally open with: > Safari ✓", "  Safari  ✓\topeny:"},
      {"Priority (Domain/App) > Per App", "\nPriority (App/Domain)\tnada"},
  };
  for (const auto& c : clicks) {
    auto click = driver({"click", c.path});
    ASSERT_EQ(click.status, 0) << c.path << ": " << click.err;
    EXPECT_THAT(driver({"menu"}).out, HasSubstr(c.shown)) << c.path;
  }
  // As the answer to the menu a reopened program pops up, too.
  const auto script = world.root() / "events.txt";
  std::ofstream(script) << "reopen --choose \"Preferences... > Open in background\"\n";
  auto run = driver({"run", script.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("chose \"Preferences... > Open in background\""));
  EXPECT_THAT(driver({"defaults"}).out, HasSubstr("background = true\n"));
}

TEST_F(MenuDriverTest, HideMenuBarQuitsAfterItsAlertAndTheSliderStoresADouble) {
  auto off = driver({"click", "Preferences... >    Hide Menu Bar"});
  EXPECT_THAT(off.out, HasSubstr("status item removed"));
  auto on = driver({"click", "Preferences... > ✓Hide Menu Bar"});
  EXPECT_THAT(on.out, HasSubstr("alert (warning): Shutting Down Routelle..."));
  EXPECT_THAT(on.out, HasSubstr("terminate"));

  auto slide = driver({"click", "Preferences... > slideMove:", "--value", "20"});
  ASSERT_EQ(slide.status, 0) << slide.err;
  EXPECT_THAT(driver({"defaults"}).out, HasSubstr("menuBarIconSize = 20.0\n"));
  EXPECT_THAT(slide.out, Not(HasSubstr("no action")));
  // A value from outside the slider is held to its range; one that is no number is refused.
  driver({"click", "Preferences... > slideMove:", "--value", "500"});
  EXPECT_THAT(driver({"defaults"}).out, HasSubstr("menuBarIconSize = 38.0\n"));
  EXPECT_EQ(driver({"click", "Preferences... > slideMove:", "--value", "nan"}).status, 64);
}

TEST_F(MenuDriverTest, AddBrowserAnswersItsOpenPanel) {
  world.install("Vivaldi", "com.vivaldi.Vivaldi");
  world.install("Arc", "company.thebrowser.Browser");
  auto click = driver({"click", "Added browsers > Add browser...", "--open-panel", "/Applications/Arc.app"});
  ASSERT_EQ(click.status, 0) << click.err;
  EXPECT_THAT(click.out, HasSubstr("open panel in /Applications/ for app"));
  EXPECT_THAT(click.out, HasSubstr("\n+  Arc.app\t"));
  EXPECT_THAT(driver({"menu"}).out, HasSubstr("\n    Remove\tdeletex: [company.thebrowser.Browser]"));
}

TEST_F(MenuDriverTest, RunScriptsReopenAndQuit) {
  world.installCommonApps();
  const auto script = world.root() / "events.txt";
  std::ofstream(script) << "reopen --choose \"Use the opened browser\"\n"
                        << "click \"Preferences... >    Show only browser images\"\n"
                        << "reopen\n"
                        << "quit\n"
                        << "open https://example.org/ --choose Safari\n";
  auto run = driver({"run", script.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  // Reopening pops the status menu up; with only browser images, the browsers window.
  EXPECT_THAT(run.out, HasSubstr("chose \"Use the opened browser\""));
  EXPECT_THAT(run.out, HasSubstr("  button [Safari]\topenx:"));
  EXPECT_THAT(run.out, HasSubstr("terminate"));
  // Nothing is delivered after the program quit.
  EXPECT_THAT(run.out, Not(HasSubstr("> open https://example.org/")));
  EXPECT_THAT(driver({"defaults"}).out, HasSubstr("login = \"Use the opened browser\"\n"));
}

}  // namespace
}  // namespace routelle
