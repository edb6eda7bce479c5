#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "editors/ApplicationList.h"
#include "platform/host/HostFileManager.h"
#include "support/TestWorld.h"

namespace routelle {
namespace {

namespace fs = std::filesystem;

class ApplicationListTest : public ::testing::Test {
 protected:
  std::vector<PopUpEntry> listed() { return localApplications(files, world.system().workspace); }
  fs::path applications() { return world.system().world.hostPath("/Applications"); }
  test::TestWorld world;
  HostFileManager files{world.system().world};
};

TEST_F(ApplicationListTest, AFolderThatCannotBeListedGivesNoApplications) {
  EXPECT_TRUE(listed().empty());  // missing
  std::ofstream(applications()) << "a file where the folder should be";
  EXPECT_TRUE(listed().empty());
}

TEST_F(ApplicationListTest, EveryVisibleEntryIsOfferedByNameInOrder) {
  world.install("Safari", "com.apple.Safari");
  world.install("Slack", "com.tinyspeck.slackmacgap", "/Applications/Utilities");
  // Only the ".app" suffix goes: an application calls itself "Notes.app Helper".
  for (const char* name : {".hidden.app", ".DS_Store", "Tool.app.app", "a.app", "Zebra.app", "Notes.app Helper.app"})
    std::ofstream(applications() / name) << "";
  std::vector<std::string> names;
  std::vector<std::string> icons;
  for (const auto& entry : listed()) {
    names.push_back(entry.title);
    icons.push_back(entry.image.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Notes.app Helper", "Safari", "Tool.app", "Utilities", "Zebra", "a"}));
  EXPECT_EQ(icons, (std::vector<std::string>{"", "/Applications/Safari.app", "", "", "", ""}));
}

TEST_F(ApplicationListTest, ThousandsOfEntriesAreAllListed) {
  fs::create_directories(applications());
  for (int i = 4999; i >= 0; --i) std::ofstream(applications() / ("App" + std::to_string(i) + ".app")) << "";
  const auto entries = listed();
  ASSERT_EQ(entries.size(), 5000u);
  EXPECT_EQ(entries.front().title, "App0");
  EXPECT_EQ(entries.back().title, "App999");
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                             [](const PopUpEntry& a, const PopUpEntry& b) { return a.title < b.title; }));
}

}  // namespace
}  // namespace routelle
