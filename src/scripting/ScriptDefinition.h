#pragma once
#include <string_view>

namespace routelle {

// What the scripting definition declares as a boolean parameter; everything
// else the commands take is text.
inline bool isBooleanScriptParameter(std::string_view className, std::string_view key) {
  return className == "BackModifierKeyScriptCommand" && key == "FilePath";
}

}  // namespace routelle
