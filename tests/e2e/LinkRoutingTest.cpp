#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "settings/Keys.h"
#include "support/TestWorld.h"

namespace routelle {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

class LinkRoutingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.installCommonApps();
    AppSpec mail;
    mail.name = "Mail";
    mail.identifier = "com.apple.mail";
    mail.urlSchemes = {"mailto"};
    installApplication(world.system().world, mail);
  }

  test::DriverRun driver(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", world.root().string()});
    return test::runDriver(args);
  }

  // One run of the program over the events, written to a file as the driver reads them.
  test::DriverRun runEvents(const std::string& events) {
    const auto file = world.root() / "events.txt";
    std::ofstream(file) << events;
    return driver({"run", file.string()});
  }

  // The driver waits for everything it started, so the log is complete.
  std::vector<std::string> launches() const {
    std::vector<std::string> out;
    std::ifstream in(world.root() / "Library/Logs/launches.log");
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

  test::TestWorld world;
};

// The menu is dismissed, and the caller told what it offered.
TEST_F(LinkRoutingTest, ChoiceThatIsNotShownLaunchesNothing) {
  auto run = driver({"open", "https://example.org/", "--choose", "Opera"});
  EXPECT_EQ(run.status, 64);
  EXPECT_THAT(run.out, HasSubstr("menu dismissed\n"));
  EXPECT_THAT(run.err, HasSubstr("it offers \"Safari\", \"Firefox\", \"Google Chrome\""));
  run = driver({"file", "/Users/me/index.php", "--choose", "Close"});
  EXPECT_EQ(run.status, 64);
  EXPECT_THAT(launches(), IsEmpty());
}

TEST_F(LinkRoutingTest, HostileLinksEndCleanly) {
  world.system().settings.setString(keys::defaultChoice, "Firefox");
  for (const std::string link : {"", "   ", "\x01\x02\x1b[31m\x7f", "http://[::1]/", "http://bücher.example/",
                                 "routelle://", ";;;from:extension"}) {
    auto run = driver({"open", link});
    EXPECT_EQ(run.status, 0) << link << run.err;
  }
  EXPECT_THAT(launches(), ElementsAre("Firefox http://", "Firefox http://   ", "Firefox http://\x01\x02\x1b[31m\x7f",
                                      "Firefox http://[::1]/", "Firefox http://bücher.example/", "Firefox http://",
                                      "Firefox http://"));

  // A mail link that is no URL: an empty open-with menu.
  auto run = driver({"open", "mailto:a b", "--choose", "Mail"});
  EXPECT_EQ(run.status, 64);
  EXPECT_THAT(run.err, HasSubstr("it offers nothing"));
  EXPECT_THAT(run.out, HasSubstr("menu at (400, 300):\nmenu dismissed\n"));
  EXPECT_EQ(launches().size(), 7u);

  // Too long for an argument of a process: the failure is reported and the
  // browsers list is offered for the link.
  run = runEvents("open https://example.org/" + std::string(1 << 20, 'a') + "\n");
  EXPECT_EQ(run.status, 0) << run.err.substr(0, 200);
  EXPECT_THAT(run.err, HasSubstr("routelle: \"Firefox\" could not open https://example.org/aaa"));
  EXPECT_THAT(run.out, HasSubstr("menu at (400, 300):"));
  EXPECT_EQ(launches().size(), 7u);

  run = driver({"open", "https://example.org/", "--modifiers", "shift,hyper"});
  EXPECT_EQ(run.status, 64);
  EXPECT_THAT(run.err, HasSubstr("unknown modifier \"hyper\""));
}

}  // namespace
}  // namespace routelle
