#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/host/BundleInfo.h"
#include "support/TestWorld.h"

namespace routelle {
namespace {

namespace fs = std::filesystem;

class HostWorkspaceTest : public ::testing::Test {
 protected:
  HostWorkspace& workspace() { return world.system().workspace; }

  // A bundle whose Info.plist holds exactly these bytes.
  void bundleWithInfo(const std::string& platformFolder, const std::string& name, const std::string& bytes) {
    const fs::path contents = world.system().world.hostPath(platformFolder) / (name + ".app") / "Contents";
    fs::create_directories(contents);
    std::ofstream(contents / "Info.plist", std::ios::binary) << bytes;
  }

  test::TestWorld world;
};

TEST_F(HostWorkspaceTest, LooksUpByIdentifierAndByNameWithoutRegardToCase) {
  world.installCommonApps();
  EXPECT_EQ(workspace().pathForBundleIdentifier("COM.GOOGLE.CHROME"), "/Applications/Google Chrome.app");
  EXPECT_EQ(workspace().pathForBundleIdentifier("com.apple.Safari"), "/Applications/Safari.app");
  EXPECT_FALSE(workspace().pathForBundleIdentifier("com.apple"));
  EXPECT_FALSE(workspace().pathForBundleIdentifier(""));

  for (const char* name : {"Google Chrome", "google chrome", "Google Chrome.app", "GOOGLE CHROME.APP"})
    EXPECT_EQ(workspace().fullPathForApplication(name), "/Applications/Google Chrome.app") << name;
  for (const char* name : {"Google", "Chrome", "", ".app", "Applications/Safari", "../Safari", "Safari.app/"})
    EXPECT_FALSE(workspace().fullPathForApplication(name)) << name;

  EXPECT_EQ(workspace().bundleIdentifier("/Applications/Google Chrome.app"), "com.google.Chrome");
  EXPECT_FALSE(workspace().bundleIdentifier("/Applications/Missing.app"));

  // Paths never climb out of the world, even to a real bundle beside it.
  test::TempDir outside;
  AppSpec stray;
  stray.name = "Outside";
  stray.identifier = "com.example.outside";
  installApplication(World(outside.path()), stray);
  const std::string escape = "/../" + outside.path().filename().string() + "/Applications/Outside.app";
  ASSERT_TRUE(fs::exists(world.root() / ".." / outside.path().filename() / "Applications" / "Outside.app"));
  EXPECT_FALSE(workspace().bundleIdentifier(escape));
  EXPECT_FALSE(workspace().bundleIdentifier("/Applications/../../" + outside.path().filename().string() +
                                            "/Applications/Outside.app"));
}

TEST_F(HostWorkspaceTest, SearchesApplicationsItsSubfoldersAndUserApplicationsOnly) {
  world.install("Terminal", "com.apple.Terminal", "/Applications/Utilities");
  world.install("Deep", "com.example.deep", "/Applications/Utilities/More");
  world.install("Arc", "company.thebrowser.Browser", "/Users/ann/Applications");
  world.install("Nested", "com.example.nested", "/Users/ann/Applications/Sub");
  world.install("Stray", "com.example.stray", "/Users/ann/Desktop");
  world.install("Elsewhere", "com.example.elsewhere", "/Library");
  std::ofstream(world.root() / "Applications" / "Plain.app") << "a file, not a bundle";

  EXPECT_EQ(workspace().fullPathForApplication("terminal"), "/Applications/Utilities/Terminal.app");
  EXPECT_EQ(workspace().pathForBundleIdentifier("company.thebrowser.browser"), "/Users/ann/Applications/Arc.app");
  for (const char* name : {"Deep", "Nested", "Stray", "Elsewhere", "Plain"})
    EXPECT_FALSE(workspace().fullPathForApplication(name)) << name;
  EXPECT_FALSE(workspace().pathForBundleIdentifier("com.example.deep"));
  EXPECT_EQ(workspace().applicationBundles().size(), 2u);

  // The same application in several places: /Applications itself, then its
  // subfolders, then the users' folders.
  world.install("Twin", "com.example.twin", "/Users/ann/Applications");
  world.install("Twin", "com.example.twin", "/Applications/Apps");
  EXPECT_EQ(workspace().fullPathForApplication("Twin"), "/Applications/Apps/Twin.app");
  world.install("Twin", "com.example.twin");
  EXPECT_EQ(workspace().fullPathForApplication("Twin"), "/Applications/Twin.app");
  EXPECT_EQ(workspace().pathForBundleIdentifier("com.example.twin"), "/Applications/Twin.app");
}

TEST_F(HostWorkspaceTest, ReadsXmlAndBinaryInfoPlists) {
  AppSpec wanted;
  wanted.name = "Binary Browser";
  wanted.identifier = "org.example.Binary";
  wanted.urlSchemes = {"http", "https"};
  wanted.binaryInfoPlist = true;
  const fs::path bundle = installApplication(world.system().world, wanted);
  std::ifstream in(bundle / "Contents" / "Info.plist", std::ios::binary);
  std::string head(8, '\0');
  in.read(head.data(), 8);
  ASSERT_EQ(head, "bplist00");
  EXPECT_EQ(workspace().bundleIdentifier("/Applications/Binary Browser.app"), "org.example.Binary");
  EXPECT_EQ(workspace().pathForBundleIdentifier("org.example.binary"), "/Applications/Binary Browser.app");

  wanted.name = "Xml Browser";
  wanted.identifier = "org.example.Xml";
  wanted.binaryInfoPlist = false;
  installApplication(world.system().world, wanted);
  auto info = readBundleInfo(world.root() / "Applications" / "Xml Browser.app");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->identifier, "org.example.Xml");
  EXPECT_EQ(info->urlSchemes, (std::vector<std::string>{"http", "https"}));
  EXPECT_EQ(readBundleInfo(bundle)->urlSchemes, info->urlSchemes);

  const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>CFBundleIdentifier</key><string>org.example.Viewer</string>
  <key>CFBundleDocumentTypes</key><array>
    <dict><key>CFBundleTypeExtensions</key><array><string>html</string><integer>3</integer><string>pdf</string></array></dict>
    <string>not a dictionary</string>
    <dict><key>CFBundleTypeExtensions</key><string>txt</string></dict>
  </array>
  <key>CFBundleURLTypes</key><string>wrong kind</string>
</dict></plist>)";
  auto viewer = parseBundleInfo(Bytes(xml.begin(), xml.end()));
  ASSERT_TRUE(viewer);
  EXPECT_EQ(viewer->documentExtensions, (std::vector<std::string>{"html", "pdf"}));
  EXPECT_TRUE(viewer->urlSchemes.empty());
}

TEST_F(HostWorkspaceTest, DamagedInfoPlistsGiveNoIdentifierAndDoNotHideOthers) {
  const std::string valid = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>CFBundleIdentifier</key><string>com.example.same</string></dict></plist>)";
  const std::pair<const char*, std::string> damaged[] = {
      {"Empty", ""},
      {"Garbage", std::string("\x00\xff\x10garbage", 10)},
      {"TruncatedBinary", "bplist00\xd1\x01\x02"},
      {"TruncatedXml", valid.substr(0, valid.size() / 2)},
      {"ArrayRoot", R"(<plist version="1.0"><array><string>com.example.same</string></array></plist>)"},
      {"NumberIdentifier",
       R"(<plist version="1.0"><dict><key>CFBundleIdentifier</key><integer>7</integer></dict></plist>)"},
      {"EmptyIdentifier",
       R"(<plist version="1.0"><dict><key>CFBundleIdentifier</key><string></string></dict></plist>)"},
  };
  // Sorted names put every damaged bundle before the valid one.
  for (const auto& [name, bytes] : damaged) bundleWithInfo("/Applications", std::string("A") + name, bytes);
  fs::create_directories(world.root() / "Applications" / "ANoInfo.app" / "Contents");
  fs::create_directories(world.root() / "Applications" / "ADirInfo.app" / "Contents" / "Info.plist");
  bundleWithInfo("/Applications", "Zed", valid);

  for (const auto& [name, bytes] : damaged)
    EXPECT_FALSE(workspace().bundleIdentifier("/Applications/A" + std::string(name) + ".app")) << name;
  EXPECT_FALSE(workspace().bundleIdentifier("/Applications/ANoInfo.app"));
  EXPECT_FALSE(workspace().bundleIdentifier("/Applications/ADirInfo.app"));
  EXPECT_EQ(workspace().pathForBundleIdentifier("com.example.same"), "/Applications/Zed.app");
  EXPECT_EQ(workspace().fullPathForApplication("AGarbage"), "/Applications/AGarbage.app");
  EXPECT_FALSE(world.system().registry.addBrowserNamed("AGarbage"));

  // Read in a child process, so that a crash inside the plist library fails
  // this test rather than ending the whole run.
  auto expectReadSafely = [&](const std::string& name, const std::string& bytes) {
    bundleWithInfo("/Applications", name, bytes);
    EXPECT_EXIT(
        {
          const bool none = !workspace().bundleIdentifier("/Applications/" + name + ".app");
          const bool found = workspace().pathForBundleIdentifier("com.example.same") == "/Applications/Zed.app";
          std::_Exit(none && found ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << name;
    fs::remove_all(world.root() / "Applications" / (name + ".app"));
  };
  expectReadSafely("ANul", std::string("<dict><key>CFBundleIdentifier</key><string>") + '\0' + "</string></dict>");
  // Deep nesting within the size limit.
  const size_t depth = 275000;
  std::string deep = "<dict><key>CFBundleIdentifier</key><string>com.example.deep</string><key>A</key>";
  for (size_t i = 0; i < depth; ++i) deep += "<array>";
  for (size_t i = 0; i < depth; ++i) deep += "</array>";
  expectReadSafely("ADeep", deep + "</dict>");

  // An oversized Info.plist is not read at all.
  std::string huge = valid;
  huge.insert(huge.find("</dict>"), std::string(5u << 20, ' '));
  bundleWithInfo("/Applications", "AHuge", huge);
  EXPECT_FALSE(workspace().bundleIdentifier("/Applications/AHuge.app"));
}

}  // namespace
}  // namespace routelle
