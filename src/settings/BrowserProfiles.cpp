#include "settings/BrowserProfiles.h"

namespace routelle {
namespace {

constexpr ProfileHome kHomes[] = {
    {"Google Chrome", ProfileFamily::chromium, "Google/Chrome"},
    {"Google Chrome Beta", ProfileFamily::chromium, "Google/Chrome Beta"},
    {"Google Chrome Canary", ProfileFamily::chromium, "Google/Chrome Canary"},
    {"Chromium", ProfileFamily::chromium, "Chromium"},
    {"Brave", ProfileFamily::chromium, "BraveSoftware/Brave-Browser"},
    {"Brave Browser", ProfileFamily::chromium, "BraveSoftware/Brave-Browser"},
    {"Microsoft Edge", ProfileFamily::chromium, "Microsoft Edge"},
    {"Vivaldi", ProfileFamily::chromium, "Vivaldi"},
    {"Opera", ProfileFamily::chromium, "com.operasoftware.Opera"},
    {"Firefox", ProfileFamily::firefox, "Firefox"},
    {"Firefox Developer Edition", ProfileFamily::firefox, "Firefox"},
    {"Firefox Nightly", ProfileFamily::firefox, "Firefox"},
    {"LibreWolf", ProfileFamily::firefox, "librewolf"},
    {"Waterfox", ProfileFamily::firefox, "Waterfox"},
};

// "/Applications/Google Chrome.app", "Google Chrome.app": the display name.
std::string_view displayName(std::string_view browser) {
  while (browser.ends_with('/')) browser.remove_suffix(1);
  if (const size_t slash = browser.rfind('/'); slash != std::string_view::npos) browser.remove_prefix(slash + 1);
  if (browser.ends_with(".app")) browser.remove_suffix(4);
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
  for (const auto& home : kHomes)
    if (home.browser == name) return home;
  return std::nullopt;
}

std::string BrowserProfiles::folderPath(const ProfileHome& home) {
  std::string path = files_.homeDirectory();
  if (!path.ends_with('/')) path += '/';
  return path + "Library/Application Support/" + std::string(home.folder);
}

std::optional<std::string> BrowserProfiles::listFile(std::string_view browser) {
  const auto home = homeOf(browser);
  if (!home) return std::nullopt;
  return folderPath(*home) + (home->family == ProfileFamily::chromium ? "/Local State" : "/profiles.ini");
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
  return {"--profile", profile.relative ? folderPath(*home) + "/" + profile.directory : profile.directory};
}

}  // namespace routelle
