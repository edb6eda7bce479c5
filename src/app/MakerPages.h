#pragma once
#include <string_view>

namespace routelle::pages {

// The maker's web presence.
inline constexpr std::string_view site = "https://kestrova.example";
inline constexpr std::string_view updateFeed = "https://kestrova.example/downloads/RoutelleAppCast1.xml";
inline constexpr std::string_view instructions = "https://kestrova.example/routelle-instructions/";
inline constexpr std::string_view contact = "https://kestrova.example/contact/";
inline constexpr std::string_view extensions = "https://kestrova.example/routelle-extensions/";
inline constexpr std::string_view firefoxAddOn = "https://addons.mozilla.org/en-US/firefox/addon/routelle-add-on/";

}  // namespace routelle::pages
