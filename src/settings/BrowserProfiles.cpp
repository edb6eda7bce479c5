#include "settings/BrowserProfiles.h"

#include <span>

namespace routelle {
namespace {

using enum ProfileFamily;
using enum ProfileBase;

// Under ~/Library/Application Support, by the application's display name.
constexpr ProfileHome kMacHomes[] = {
    {"Google Chrome", chromium, applicationData, "Google/Chrome"},
    {"Google Chrome Beta", chromium, applicationData, "Google/Chrome Beta"},
    {"Google Chrome Canary", chromium, applicationData, "Google/Chrome Canary"},
    {"Chromium", chromium, applicationData, "Chromium"},
    {"Brave", chromium, applicationData, "BraveSoftware/Brave-Browser"},
    {"Brave Browser", chromium, applicationData, "BraveSoftware/Brave-Browser"},
    {"Microsoft Edge", chromium, applicationData, "Microsoft Edge"},
    {"Vivaldi", chromium, applicationData, "Vivaldi"},
    {"Opera", chromium, applicationData, "com.operasoftware.Opera"},
    {"Firefox", firefox, applicationData, "Firefox"},
    {"Firefox Developer Edition", firefox, applicationData, "Firefox"},
    {"Firefox Nightly", firefox, applicationData, "Firefox"},
    {"LibreWolf", firefox, applicationData, "librewolf"},
    {"Waterfox", firefox, applicationData, "Waterfox"},
};

// Chromium family under $XDG_CONFIG_HOME, Firefox family under the home folder,
// by the id of the desktop entry the distributions and vendors install.
constexpr ProfileHome kFreedesktopHomes[] = {
    {"google-chrome", chromium, applicationData, "google-chrome"},
    {"google-chrome-beta", chromium, applicationData, "google-chrome-beta"},
    {"google-chrome-unstable", chromium, applicationData, "google-chrome-unstable"},
    {"chromium", chromium, applicationData, "chromium"},
    {"chromium-browser", chromium, applicationData, "chromium"},
    {"brave-browser", chromium, applicationData, "BraveSoftware/Brave-Browser"},
    {"microsoft-edge", chromium, applicationData, "microsoft-edge"},
    {"microsoft-edge-beta", chromium, applicationData, "microsoft-edge-beta"},
    {"vivaldi-stable", chromium, applicationData, "vivaldi"},
    {"opera", chromium, applicationData, "opera"},
    {"firefox", firefox, home, ".mozilla/firefox"},
    {"firefox-esr", firefox, home, ".mozilla/firefox"},
    {"librewolf", firefox, home, ".librewolf"},
    {"waterfox", firefox, home, ".waterfox"},
};

// "/Applications/Google Chrome.app", "Google Chrome.app", "google-chrome.desktop":
// the display name or entry id.
std::string_view displayName(std::string_view browser) {
  while (browser.ends_with('/')) browser.remove_suffix(1);
  if (const size_t slash = browser.rfind('/'); slash != std::string_view::npos) browser.remove_prefix(slash + 1);
  if (browser.ends_with(".app"))
    browser.remove_suffix(4);
  else if (browser.ends_with(".desktop"))
    browser.remove_suffix(8);
  return browser;
}

}  // namespace

std::optional<BrowserAndProfile> splitProfileTitle(std::string_view text) {
  const size_t at = text.find(kProfileSeparator);
  if (at == std::string_view::npos || at == 0 || at + kProfileSeparator.size() == text.size()) return std::nullopt;
  return BrowserAndProfile{std::string(text.substr(0, at)), std::string(text.substr(at + kProfileSeparator.size()))};
}

std::optional<ProfileHome> BrowserProfiles::homeOf(std::string_view browser) {
  const std::string_view name = displayName(browser);
  const bool mac = files_.applicationDataFolders().layout == ApplicationDataFolders::Layout::macOS;
  for (const auto& home :
       mac ? std::span<const ProfileHome>(kMacHomes) : std::span<const ProfileHome>(kFreedesktopHomes))
    if (home.browser == name) return home;
  return std::nullopt;
}

std::optional<BrowserAndProfile> BrowserProfiles::splitTitle(std::string_view text) {
  auto titled = splitProfileTitle(text);
  if (!titled || !homeOf(titled->browser)) return std::nullopt;
  return titled;
}

std::string BrowserProfiles::folderPath(const ProfileHome& home, const ApplicationDataFolders& folders) {
  std::string path = home.base == ProfileBase::home ? files_.homeDirectory() : folders.base;
  if (!path.ends_with('/')) path += '/';
  return path + std::string(home.folder);
}

std::optional<std::string> BrowserProfiles::listFile(std::string_view browser) {
  const auto home = homeOf(browser);
  if (!home) return std::nullopt;
  return folderPath(*home, files_.applicationDataFolders()) +
         (home->family == ProfileFamily::chromium ? "/Local State" : "/profiles.ini");
}

std::vector<BrowserProfile> BrowserProfiles::profilesOf(std::string_view browser) {
  const auto home = homeOf(browser);
  if (!home) return {};
  const auto file = files_.readFile(*listFile(browser), kMaxProfileFile);
  if (file.status != FileContents::Status::read) return {};
  return home->family == ProfileFamily::chromium ? chromiumProfiles(file.bytes) : firefoxProfiles(file.bytes);
}

std::optional<BrowserProfile> BrowserProfiles::find(std::string_view browser, std::string_view profile) {
  const auto profiles = profilesOf(browser);
  // The directory first: it is what a rule stores, and it is unique.
  for (const auto& p : profiles)
    if (p.directory == profile) return p;
  for (const auto& p : profiles)
    if (p.name == profile) return p;
  return std::nullopt;
}

std::vector<std::string> BrowserProfiles::launchArguments(std::string_view browser, const BrowserProfile& profile) {
  const auto home = homeOf(browser);
  if (!home) return {};
  if (home->family == ProfileFamily::chromium) return {"--profile-directory=" + profile.directory};
  // The path, not the name: Firefox's -P NAME opens its profile manager instead of the link.
  if (!profile.relative) return {"--profile", profile.directory};
  return {"--profile", folderPath(*home, files_.applicationDataFolders()) + "/" + profile.directory};
}

}  // namespace routelle
