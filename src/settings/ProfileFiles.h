#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace routelle {

// One profile of a browser as its own files list it.
struct BrowserProfile {
  std::string directory;  // what names it for good: Chromium's folder name, profiles.ini's Path
  std::string name;       // what the user calls it ("Work")
  bool relative = true;   // a profiles.ini Path relative to the browser's folder
};

// The profiles a file lists, or none when the file is not what it should be:
// too large, too deep, not valid UTF-8, not JSON / not INI. Never throws.
// Chromium family: "Local State", JSON, profile.info_cache: directory -> {name}.
std::vector<BrowserProfile> chromiumProfiles(std::string_view localState);
// Firefox family: "profiles.ini", [ProfileN] sections with Name, Path, IsRelative.
std::vector<BrowserProfile> firefoxProfiles(std::string_view profilesIni);

inline constexpr std::size_t kMaxProfileFile = 8u << 20;

}  // namespace routelle
