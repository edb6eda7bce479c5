// The bundles' property lists: what the system reads to send the program its links,
// files, Services requests and scripts, and what lets the Share extension run.
#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/MakerPages.h"
#include "routelle/Version.h"
#include "settings/Keys.h"

namespace {

const std::filesystem::path kMacos = ROUTELLE_MACOS_DIR;
const std::filesystem::path kSources = std::filesystem::path(ROUTELLE_SOURCE_DIR) / "src";
const std::filesystem::path kRendered = ROUTELLE_BUNDLE_RESOURCES;

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

using Plist = std::unique_ptr<void, decltype(&plist_free)>;

Plist load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string xml = bytes.str();
  plist_t root = nullptr;
  plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
  return Plist(root, &plist_free);
}

plist_t at(plist_t dict, const char* key) {
  return dict && plist_get_node_type(dict) == PLIST_DICT ? plist_dict_get_item(dict, key) : nullptr;
}

std::string text(plist_t node) {
  if (!node || plist_get_node_type(node) != PLIST_STRING) return {};
  char* value = nullptr;
  plist_get_string_val(node, &value);
  std::string out = value ? value : "";
  std::free(value);
  return out;
}

bool flag(plist_t node) {
  uint8_t value = 0;
  if (node && plist_get_node_type(node) == PLIST_BOOLEAN) plist_get_bool_val(node, &value);
  return value != 0;
}

uint64_t number(plist_t node) {
  uint64_t value = 0;
  if (node && plist_get_node_type(node) == PLIST_UINT) plist_get_uint_val(node, &value);
  return value;
}

std::vector<plist_t> items(plist_t array) {
  std::vector<plist_t> out;
  if (!array || plist_get_node_type(array) != PLIST_ARRAY) return out;
  for (uint32_t i = 0; i < plist_array_get_size(array); ++i) out.push_back(plist_array_get_item(array, i));
  return out;
}

std::vector<std::string> texts(plist_t array) {
  std::vector<std::string> out;
  for (plist_t item : items(array)) out.push_back(text(item));
  return out;
}

bool has(const std::vector<std::string>& list, const std::string& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

class ApplicationInfo : public testing::Test {
 protected:
  Plist info = load(kMacos / "Info.plist");
};

TEST_F(ApplicationInfo, NamesTheProgramAsItsSettingsAndLaunchesDo) {
  ASSERT_TRUE(info) << "Info.plist is no property list";
  EXPECT_EQ(text(at(info.get(), "CFBundleIdentifier")), routelle::domains::ownBundleIdentifier);
  EXPECT_EQ(text(at(info.get(), "CFBundlePackageType")), "APPL");
  // The bundle's executable is the one CMake builds.
  EXPECT_EQ(text(at(info.get(), "CFBundleExecutable")), "Routelle");
}

TEST_F(ApplicationInfo, ReceivesWebMailAndItsOwnLinks) {
  std::vector<std::string> schemes;
  for (plist_t type : items(at(info.get(), "CFBundleURLTypes")))
    for (const auto& scheme : texts(at(type, "CFBundleURLSchemes"))) schemes.push_back(scheme);
  for (const char* scheme : {"http", "https", "mailto", "routelle"}) EXPECT_TRUE(has(schemes, scheme)) << scheme;
}

TEST_F(ApplicationInfo, OpensWebPagesAndEveryOtherDocument) {
  std::vector<std::string> extensions;
  for (plist_t type : items(at(info.get(), "CFBundleDocumentTypes"))) {
    EXPECT_EQ(text(at(type, "CFBundleTypeRole")), "Viewer");
    for (const auto& extension : texts(at(type, "CFBundleTypeExtensions"))) extensions.push_back(extension);
  }
  // The extensions the program routes as web pages, and any document for the open-with menu.
  for (const char* extension : {"html", "htm", "shtml", "php", "*"})
    EXPECT_TRUE(has(extensions, extension)) << extension;
}

TEST_F(ApplicationInfo, OffersTheServicesEntryForSelectedText) {
  const auto services = items(at(info.get(), "NSServices"));
  const auto entry = std::find_if(services.begin(), services.end(),
                                  [](plist_t s) { return text(at(s, "NSMessage")) == "openUrlWithRtl"; });
  ASSERT_NE(entry, services.end());
  EXPECT_TRUE(has(texts(at(*entry, "NSSendTypes")), "public.utf8-plain-text"));
  EXPECT_FALSE(text(at(at(*entry, "NSMenuItem"), "default")).empty());
}

TEST_F(ApplicationInfo, IsScriptableAndAsksBeforeScriptingOthers) {
  const std::string definition = text(at(info.get(), "OSAScriptingDefinition"));
  EXPECT_TRUE(std::filesystem::exists(kMacos / definition)) << definition;
  EXPECT_TRUE(flag(at(info.get(), "NSAppleScriptEnabled")));
  EXPECT_FALSE(text(at(info.get(), "NSAppleEventsUsageDescription")).empty());
}

TEST(BundleInfo, BothBundlesRunFromTheDeploymentTargetOnAndShowTheProjectVersion) {
  for (const char* file : {"Info.plist", "ShareExtension/Info.plist"}) {
    Plist info = load(kMacos / file);
    EXPECT_EQ(text(at(info.get(), "LSMinimumSystemVersion")), ROUTELLE_MACOS_DEPLOYMENT_TARGET) << file;
    EXPECT_EQ(text(at(info.get(), "CFBundleShortVersionString")), routelle::kVersion) << file;
  }
}

TEST_F(ApplicationInfo, TheUpdaterReadsTheFeedThatTheProgramSets) {
  EXPECT_EQ(text(at(info.get(), "SUFeedURL")), routelle::pages::updateFeed);
  EXPECT_EQ(number(at(info.get(), "SUScheduledCheckInterval")), 86400u);
}

TEST(ShareExtensionInfo, IsAShareServiceForUrlsInsideTheApplication) {
  Plist app = load(kMacos / "Info.plist");
  Plist info = load(kMacos / "ShareExtension" / "Info.plist");
  ASSERT_TRUE(info);
  const std::string identifier = text(at(info.get(), "CFBundleIdentifier"));
  EXPECT_EQ(identifier, "com.kestrova.Routelle.Open-with-Routelle");
  // The system accepts an embedded extension only under its application's identifier.
  EXPECT_EQ(identifier.rfind(text(at(app.get(), "CFBundleIdentifier")) + ".", 0), 0u);
  EXPECT_EQ(text(at(info.get(), "CFBundlePackageType")), "XPC!");
  plist_t extension = at(info.get(), "NSExtension");
  EXPECT_EQ(text(at(extension, "NSExtensionPointIdentifier")), "com.apple.share-services");
  EXPECT_EQ(text(at(extension, "NSExtensionPrincipalClass")), "ShareViewController");
  // Items with one URL, and with several (each is handed over).
  plist_t rule = at(at(extension, "NSExtensionAttributes"), "NSExtensionActivationRule");
  EXPECT_GE(number(at(rule, "NSExtensionActivationSupportsWebURLWithMaxCount")), 2u);
}

TEST(ShareExtensionInfo, RunsSandboxedInItsGroupReadingOnlyWhatTheUserChose) {
  Plist entitlements = load(kMacos / "ShareExtension" / "OpenWithRoutelle.entitlements");
  ASSERT_TRUE(entitlements);
  EXPECT_TRUE(flag(at(entitlements.get(), "com.apple.security.app-sandbox")));
  EXPECT_EQ(texts(at(entitlements.get(), "com.apple.security.application-groups")),
            std::vector<std::string>{"group.com.kestrova.Routelle2"});
  EXPECT_TRUE(flag(at(entitlements.get(), "com.apple.security.files.user-selected.read-only")));
  EXPECT_FALSE(at(entitlements.get(), "com.apple.security.files.user-selected.read-write"));
}

// What the core asks the bundle for, from its sources: images by name, other
// resources by name and type.
struct NamedResources {
  std::set<std::string> images;
  std::set<std::string> documents;  // "name.type"
};

NamedResources namedByTheCore() {
  static const std::regex image(R"re(ImageRef::bundle\("([^"]+)")re");
  static const std::regex statusImage(R"re("(StatusBarButtonImage[0-9]*)")re");
  static const std::regex resource(R"re(pathForResource\("([^"]+)",\s*"([^"]+)"\))re");
  NamedResources named;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kSources)) {
    // The adapters translate; the names are the core's.
    if (!entry.is_regular_file() || entry.path().string().find("/platform/") != std::string::npos) continue;
    const std::string source = contents(entry.path());
    for (const std::regex* names : {&image, &statusImage})
      for (std::sregex_iterator m(source.begin(), source.end(), *names), end; m != end; ++m)
        named.images.insert((*m)[1]);
    for (std::sregex_iterator m(source.begin(), source.end(), resource), end; m != end; ++m)
      named.documents.insert((*m)[1].str() + "." + (*m)[2].str());
  }
  return named;
}

// Width and height from a PNG's header; nothing when the file is no PNG.
std::optional<std::pair<int, int>> pngSize(const std::filesystem::path& file) {
  const std::string bytes = contents(file);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return std::nullopt;
  const auto number = [&](std::size_t at) {
    int n = 0;
    for (std::size_t k = 0; k < 4; ++k) n = (n << 8) | static_cast<unsigned char>(bytes[at + k]);
    return n;
  };
  return std::pair{number(16), number(20)};
}

TEST(BundleResources, HoldEveryImageAndDocumentTheCoreNames) {
  const NamedResources named = namedByTheCore();
  Plist info = load(kMacos / "Info.plist");
  const std::string icon = text(at(info.get(), "CFBundleIconFile"));
  int checked = 0;
  for (const auto& name : named.images) {
    ++checked;
    if (name == icon) {
      // The application icon: every size of the .icns, which NSImage finds by its name too.
      const auto file = kRendered / (name + ".icns");
      EXPECT_TRUE(std::filesystem::exists(file) && std::filesystem::file_size(file) > 0) << name;
      continue;
    }
    // Menu images at 16 points, for standard and Retina screens.
    EXPECT_EQ(pngSize(kRendered / (name + ".png")), (std::pair{16, 16})) << name;
    EXPECT_EQ(pngSize(kRendered / (name + "@2x.png")), (std::pair{32, 32})) << name;
  }
  const std::string bundleSources = contents(kMacos / "CMakeLists.txt");
  for (const auto& document : named.documents) {
    ++checked;
    if (document.ends_with(".txt")) {
      // Data files ship as they are, from data/, listed among the bundle's resources.
      EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ROUTELLE_SOURCE_DIR) / "data" / document)) << document;
      EXPECT_NE(bundleSources.find("data/" + document), std::string::npos) << document;
      continue;
    }
    const auto file = kRendered / document;
    ASSERT_TRUE(std::filesystem::exists(file)) << document;
    EXPECT_EQ(contents(file).rfind("%PDF-", 0), 0u) << document;
  }
  EXPECT_TRUE(named.images.count(icon)) << "the core shows the icon named by CFBundleIconFile";
  // The status item's three images, the close button, the icon and the acknowledgements.
  EXPECT_GE(checked, 6) << "the scan of " << kSources << " found too few names";
}

// The Mac adapters read a few data files of their own (the public suffix list):
// each ships from data/ and is listed among the bundle's resources.
TEST(BundleResources, HoldEveryDataFileTheMacAdaptersRead) {
  static const std::regex resource(R"re(pathForResource:@"([^"]+)"\s+ofType:@"([^"]+)")re");
  const std::string bundleSources = contents(kMacos / "CMakeLists.txt");
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSources / "platform" / "macos")) {
    const std::string source = contents(entry.path());
    for (std::sregex_iterator m(source.begin(), source.end(), resource), end; m != end; ++m) {
      const std::string file = (*m)[1].str() + "." + (*m)[2].str();
      ++checked;
      EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ROUTELLE_SOURCE_DIR) / "data" / file)) << file;
      EXPECT_NE(bundleSources.find("data/" + file), std::string::npos) << file << " in " << entry.path();
    }
  }
  EXPECT_GE(checked, 1) << "no resource found in the Mac adapters";
}

}  // namespace
