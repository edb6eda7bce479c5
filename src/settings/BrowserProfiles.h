#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileManager.h"
#include "settings/ProfileFiles.h"

namespace routelle {

// How a browser keeps its profiles: which file lists them, how one is started.
enum class ProfileFamily { chromium, firefox };

// Where a browser's folder lies: the platform's data folder, or the home folder
// (Firefox-family browsers on freedesktop systems keep "~/.mozilla/firefox").
enum class ProfileBase { applicationData, home };

struct ProfileHome {
  std::string_view browser;  // Mac: the display name; freedesktop: the desktop entry id
  ProfileFamily family;
  ProfileBase base;
  std::string_view folder;  // under the base
};

// "Google Chrome — Work": how a browser's profile is titled wherever a browser is chosen.
inline constexpr std::string_view kProfileSeparator = " — ";

// A browser text with a profile ("BROWSER — PROFILE") split in two; nothing for a plain one.
struct BrowserAndProfile {
  std::string browser;
  std::string profile;
};
std::optional<BrowserAndProfile> splitProfileTitle(std::string_view text);

// The profiles of installed browsers, read from the browsers' own files each
// time they are asked for (the browser may have added one meanwhile).
class BrowserProfiles {
 public:
  explicit BrowserProfiles(FileManager& files) : files_(files) {}

  // The browser's family and folder on this platform; nothing for a browser
  // without profiles. The text may be a display name or entry id, with ".app" or
  // ".desktop", or a path.
  std::optional<ProfileHome> homeOf(std::string_view browser);
  // A chooser's entry "BROWSER — PROFILE" of a browser that keeps profiles.
  std::optional<BrowserAndProfile> splitTitle(std::string_view text);
  // The file that lists the browser's profiles ("Local State", "profiles.ini").
  std::optional<std::string> listFile(std::string_view browser);

  std::vector<BrowserProfile> profilesOf(std::string_view browser);
  // By its directory (what is stored) or by its display name.
  std::optional<BrowserProfile> find(std::string_view browser, std::string_view profile);
  // The browser's own arguments that open a link in the profile: one argument
  // each, never a text for a shell.
  std::vector<std::string> launchArguments(std::string_view browser, const BrowserProfile& profile);

 private:
  std::string folderPath(const ProfileHome& home, const ApplicationDataFolders& folders);
  FileManager& files_;
};

}  // namespace routelle
