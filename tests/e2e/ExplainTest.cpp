// routelle explain: the decision routing takes, told and not acted on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/TestWorld.h"

namespace routelle {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Every file of the world with its bytes.
std::map<std::string, std::string> everyFile(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[entry.path().lexically_relative(root).string()] = bytes.str();
  }
  return files;
}

class ExplainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.installCommonApps();
    world.install("Slack", "com.tinyspeck.slackmacgap");
    for (const auto& [text, browser] :
         std::vector<std::pair<std::string, std::string>>{{"*.example.org", "Firefox"},
                                                          {"www.example.org", "Safari"},
                                                          {"example.org/docs/", "Google Chrome"},
                                                          {"*.docs.example.org", "Safari"}})
      ASSERT_TRUE(world.system().rules.addDomainRule(text, browser)) << text;
    ASSERT_TRUE(world.system().rules.addAppRule("Slack", "Google Chrome"));
    world.system().settings.setString("shift", "Firefox");
    world.system().settings.setString("shiftback", "");
    world.system().settings.setString("alt", "Use the opened browser");
  }

  test::DriverRun driver(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", world.root().string()});
    return test::runDriver(args);
  }

  std::vector<std::string> launches() const {
    std::vector<std::string> out;
    std::ifstream in(world.root() / "Library/Logs/launches.log");
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

  test::TestWorld world;
};

struct Moment {
  std::string link;
  std::vector<std::string> options;  // as explain takes them
};

const Moment kMoments[] = {
    {"https://www.example.org/a", {}},
    {"https://a.b.example.org/", {}},
    {"https://example.org/docs/x", {}},
    {"https://example.org/docsearch", {}},
    {"https://x.docs.example.org/docs/", {}},
    {"https://unruled.example/", {"--from", "Slack"}},
    {"https://unruled.example/", {"--modifiers", "shift"}},
    {"https://www.example.org/", {"--modifiers", "shift,option"}},
    {"https://unruled.example/", {"--modifiers", "option", "--running", "Finder,Google Chrome"}},
    {"https://unruled.example/", {}},
    {"routelle://https//example.org/docs/;;;from:extension", {}},
    {"mailto:someone@example.com", {}},
    {"no host at all", {}},
};

TEST_F(ExplainTest, LaunchesNothingAndChangesNoFile) {
  const auto before = everyFile(world.root());
  for (const auto& moment : kMoments)
    for (bool json : {false, true}) {
      std::vector<std::string> args{"explain", moment.link};
      args.insert(args.end(), moment.options.begin(), moment.options.end());
      if (json) args.push_back("--json");
      const auto run = driver(args);
      EXPECT_EQ(run.status, 0) << moment.link << run.err;
      EXPECT_THAT(run.out, HasSubstr(json ? "\"summary\"" : "decision: ")) << moment.link;
    }
  EXPECT_THAT(launches(), IsEmpty());
  EXPECT_EQ(everyFile(world.root()), before);
}

// What explain says is what opening the link does: the same browser, or none
// when it shows the chooser or the mail applications.
TEST_F(ExplainTest, TellsWhatOpeningTheLinkDoes) {
  for (const auto& moment : kMoments) {
    std::vector<std::string> explainArgs{"explain", "--json", moment.link};
    std::vector<std::string> openArgs{"open", moment.link};
    for (std::size_t i = 0; i < moment.options.size(); i += 2) {
      explainArgs.insert(explainArgs.end(), {moment.options[i], moment.options[i + 1]});
      openArgs.insert(openArgs.end(),
                      {moment.options[i] == "--from" ? "--previous-app" : moment.options[i], moment.options[i + 1]});
    }
    const auto explained = nlohmann::json::parse(driver(explainArgs).out);
    const std::size_t launched = launches().size();
    driver(openArgs);
    const auto after = launches();
    if (explained["outcome"] != "launch") {
      EXPECT_EQ(after.size(), launched) << moment.link << ": " << explained["summary"];
      continue;
    }
    ASSERT_EQ(after.size(), launched + 1) << moment.link << ": " << explained["summary"];
    const std::string browser = explained["browser"];
    EXPECT_TRUE(after.back().starts_with(browser + " ")) << moment.link << ": " << after.back() << " / " << browser;
    EXPECT_EQ(after.back().find("(background)") != std::string::npos, explained["launch"]["background"].get<bool>())
        << moment.link;
    EXPECT_EQ(explained["steps"].back()["decided"], true) << moment.link;
  }
}

TEST_F(ExplainTest, TheDocumentNamesTheDecidingStepAndEveryMatch) {
  const auto run = driver({"explain", "--json", "https://x.docs.example.org/docs/a"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto doc = nlohmann::json::parse(run.out);
  EXPECT_EQ(doc["host"], "x.docs.example.org");
  EXPECT_EQ(doc["path"], "/docs/a");
  EXPECT_EQ(doc["decided_by"], "domain-rules");
  EXPECT_EQ(doc["summary"], "Safari — rule *.docs.example.org");
  const auto& matches = doc["steps"].back()["matches"];
  ASSERT_EQ(matches.size(), 2u);
  EXPECT_EQ(matches[0]["rule"], "*.docs.example.org");
  EXPECT_EQ(matches[1]["rule"], "*.example.org");
  EXPECT_THAT(matches[1]["reason"].get<std::string>(), HasSubstr("a longer site comes before a shorter one"));
  EXPECT_EQ(doc["launch"]["commands"][0]["program"], "/usr/bin/open");
}

}  // namespace
}  // namespace routelle
