#include "platform/host/HostUpdater.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TempDir.h"

namespace routelle {
namespace {

// Every start sets the feed and the interval again: a file that holds them
// already is left as it is, and a change still reaches it.
TEST(HostUpdaterTest, StartsRewriteTheSettingsOnlyWhenTheyChange) {
  test::TempDir dir;
  const World world(dir.path());
  HostUpdater first(world);
  first.setFeedURL("https://example.com/feed.xml");
  first.setUpdateCheckInterval(86400.0);
  const auto file = world.updaterFile();
  ASSERT_TRUE(std::filesystem::exists(file));
  const auto written = std::filesystem::last_write_time(file);
  // Written whole and renamed into place: an unchanged inode means no write.
  const auto inode = [&] {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_ino;
  };
  const auto before = inode();

  HostUpdater again(world);
  again.setFeedURL("https://example.com/feed.xml");
  again.setUpdateCheckInterval(86400.0);
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(std::filesystem::last_write_time(file), written);

  again.setUpdateCheckInterval(3600.0);
  EXPECT_NE(inode(), before);
  HostDefaults stored(file, /*readOnly=*/true);
  EXPECT_EQ(stored.object("CheckInterval"), DefaultsValue(3600.0));
  EXPECT_EQ(stored.object("FeedURL"), DefaultsValue(std::string("https://example.com/feed.xml")));
}

}  // namespace
}  // namespace routelle
