#pragma once
#include <string_view>

namespace routelle {

// The program's own bundle identifier: its settings domain, and how the system
// names it as a link handler. Below every folder, since adapters map it too.
inline constexpr std::string_view kOwnBundleIdentifier = "com.kestrova.Routelle";

}  // namespace routelle
