#pragma once
#include <string>

namespace routelle {

// The link as the program handles it: own scheme and marker removed, scheme repaired.
std::string normaliseLink(const std::string& text);
// The scheme repairs alone, as the Services entry applies them.
std::string repairScheme(const std::string& text);
// The last "/"-separated component with every ".app" removed.
std::string appNameFromPath(const std::string& path);

}  // namespace routelle
