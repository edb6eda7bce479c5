#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/host/HostCalendar.h"
#include "platform/host/HostFileManager.h"
#include "support/TempDir.h"

namespace routelle {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class HostFileManagerTest : public ::testing::Test {
 protected:
  fs::path at(const std::string& platformPath) { return world.hostPath(platformPath); }

  test::TempDir dir;
  World world{dir.path()};
  HostFileManager files{world};
};

// Writes replace a regular file whole, leave no temporary behind, and leave alone
// whatever else is in its place: a link (which could lead out of the world), a FIFO, a folder.
TEST_F(HostFileManagerTest, WritesReplaceFilesAndNothingElse) {
  fs::create_directories(at("/Users/user/Downloads"));
  EXPECT_TRUE(files.writeFile("/Users/user/Downloads/a.xml", "a longer first version"));
  EXPECT_TRUE(files.writeFile("/Users/user/Downloads/a.xml", "second"));
  EXPECT_EQ(slurp(at("/Users/user/Downloads/a.xml")), "second");

  std::ofstream(dir.path() / "outside.txt") << "untouched";
  fs::create_symlink(dir.path() / "outside.txt", at("/Users/user/Downloads/link.xml"));
  ASSERT_EQ(mkfifo(at("/Users/user/Downloads/fifo.xml").c_str(), 0600), 0);
  for (const char* refused : {"/Users/user/Downloads/link.xml", "/Users/user/Downloads/fifo.xml",
                              "/Users/user/Downloads", "/Users/user/Missing/a.xml"})
    EXPECT_FALSE(files.writeFile(refused, "x")) << refused;
  EXPECT_EQ(slurp(dir.path() / "outside.txt"), "untouched");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(at("/Users/user/Downloads")))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.xml", "fifo.xml", "link.xml"}));

  const FileContents read = files.readFile("/Users/user/Downloads/a.xml", 6);
  EXPECT_EQ(read.status, FileContents::Status::read);
  EXPECT_EQ(read.bytes, "second");
  EXPECT_EQ(files.readFile("/Users/user/Downloads/a.xml", 5).status, FileContents::Status::tooLarge);
  EXPECT_EQ(files.readFile("/Users/user/Downloads/fifo.xml", 5).status, FileContents::Status::notAFile);
  EXPECT_EQ(files.readFile("/Users/user/Downloads/none.xml", 5).status, FileContents::Status::missing);
}

TEST_F(HostFileManagerTest, TheSystemKnowsTheDownloadsFolderWhileItExists) {
  EXPECT_EQ(files.homeDirectory(), "/Users/user");
  EXPECT_FALSE(files.downloadsDirectory());
  fs::create_directories(at("/Users/user/Downloads"));
  EXPECT_EQ(files.downloadsDirectory(), "/Users/user/Downloads");

  files.revealInFileBrowser("/Users/user/Downloads/a.xml");
  files.revealInFileBrowser("/Users/user/Downloads/b.xml");
  EXPECT_EQ(slurp(at("/Library/Logs/finder.log")), "/Users/user/Downloads/a.xml\n/Users/user/Downloads/b.xml\n");
}

TEST_F(HostFileManagerTest, TheWorldsDateIsFixedOnlyByAValidDate) {
  EXPECT_FALSE(HostCalendar::fixedDate(world));
  ASSERT_TRUE(HostCalendar::fixDate(world, {2024, 2, 29}));
  const CalendarDate today = HostCalendar(world).today();
  EXPECT_EQ(std::make_tuple(today.year, today.month, today.day), std::make_tuple(2024, 2, 29));
  for (const char* wrong : {"2023-02-29", "2026-13-01", "2026-00-10", "2026-3-5", "26-03-05", "2026-03-05x", ""})
    EXPECT_FALSE(HostCalendar::parseDate(wrong)) << wrong;
  std::ofstream(at(HostCalendar::kFixedDateFile)) << "not a date";
  EXPECT_FALSE(HostCalendar::fixedDate(world));
  HostCalendar::unfixDate(world);
  EXPECT_FALSE(fs::exists(at(HostCalendar::kFixedDateFile)));
}

}  // namespace
}  // namespace routelle
