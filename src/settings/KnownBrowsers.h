#pragma once
#include <array>
#include <string_view>

namespace routelle {

struct KnownBrowser {
  std::string_view key;         // sequence number and name, e.g. "11Safari"
  std::string_view identifier;  // bundle identifier
  std::string_view name() const { return key.substr(2); }
};

// In sequence-number order, which is also the order the menus list them in.
inline constexpr std::array<KnownBrowser, 15> knownBrowsers{{
    {"11Safari", "com.apple.Safari"},
    {"12Firefox", "org.mozilla.firefox"},
    {"13Google Chrome", "com.google.chrome"},
    {"14Opera", "com.operasoftware.Opera"},
    {"15Chromium", "org.Chromium.chromium"},
    {"16Roccat", "org.Runecats.Roccat"},
    {"17TorBrowser", "org.mozilla.tor browser"},
    {"18Vivaldi", "com.vivaldi.Vivaldi"},
    {"19iCab", "de.icab.iCab"},
    {"20SeaMonkey", "org.mozilla.SeaMonkey"},
    {"21Opera Developer", "com.operasoftware.OperaDeveloper"},
    {"22Brave", "com.electron.brave"},
    {"23Helium", "net.imput.helium"},
    {"24Safari Technology Preview", "com.apple.SafariTechnologyPreview"},
    {"25Brave Browser", "com.brave.Browser"},
}};

// Running applications with these names count as browsers.
inline constexpr std::array<std::string_view, 16> knownBrowserNames{"Safari",
                                                                    "Firefox",
                                                                    "Google Chrome",
                                                                    "Opera",
                                                                    "Chromium",
                                                                    "Roccat",
                                                                    "TorBrowser",
                                                                    "Vivaldi",
                                                                    "iCab",
                                                                    "SeaMonkey",
                                                                    "Opera Developer",
                                                                    "Brave",
                                                                    "Helium",
                                                                    "Safari Technology Preview",
                                                                    "SRWare Iron",
                                                                    "Brave Browser"};

}  // namespace routelle
