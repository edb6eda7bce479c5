#pragma once
#include <array>
#include <span>
#include <string_view>

namespace routelle {

// What the scripting definition declares as a boolean parameter; everything
// else the commands take is text.
inline bool isBooleanScriptParameter(std::string_view className, std::string_view key) {
  return className == "BackModifierKeyScriptCommand" && key == "FilePath";
}

// The argument keys the scripting definition delivers to each command class
// (the direct parameter under the empty key); none for an unknown class.
inline std::span<const std::string_view> scriptParameterKeys(std::string_view className) {
  static constexpr std::array<std::string_view, 3> directBrowserAndProfile{"", "FilePath", "Profile"};
  static constexpr std::array<std::string_view, 2> directAndBrowser{"", "FilePath"};
  static constexpr std::array<std::string_view, 1> path{"FilePath"};
  static constexpr std::array<std::string_view, 1> direct{""};
  static constexpr std::array<std::string_view, 1> browserName{"BrowserName"};
  for (std::string_view name : {"AddDomainScriptCommand", "AddAppScriptCommand", "ModifierKeyScriptCommand"})
    if (className == name) return directBrowserAndProfile;
  if (className == "BackModifierKeyScriptCommand") return directAndBrowser;
  for (std::string_view name : {"ChangePriorityScriptCommand", "ImportCommandScript", "ExportCommandScript"})
    if (className == name) return path;
  for (std::string_view name : {"RemoveBrowserScriptCommand", "RemoveRuleScriptCommand",
                                "EnablePreferenceScriptCommand", "DisablePreferenceScriptCommand",
                                "AddBrowserScriptCommand", "ExplainScriptCommand", "AddCleaningEntryScriptCommand"})
    if (className == name) return direct;
  if (className == "SaveScriptCommand") return browserName;
  return {};
}

}  // namespace routelle
