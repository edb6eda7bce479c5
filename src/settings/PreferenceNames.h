#pragma once
#include <array>
#include <optional>
#include <string_view>

namespace routelle {

// What a boolean preference of the script interface acts on.
enum class PreferenceTarget { key, inverseKey, automaticUpdateChecks, mailtoHandler };

struct PreferenceName {
  std::string_view name;
  PreferenceTarget target;
  std::string_view key;  // empty for the targets without a key
};

inline constexpr std::array<PreferenceName, 12> preferenceNames{{
    {"Open in background", PreferenceTarget::key, "background"},
    {"Menu Bar Only", PreferenceTarget::key, "hide"},
    {"Automatically check for updates", PreferenceTarget::automaticUpdateChecks, ""},
    {"Use colored icon", PreferenceTarget::key, "clicon"},
    {"Show only browser images", PreferenceTarget::key, "imonly"},
    {"Support multiple file types", PreferenceTarget::key, "showeditor"},
    {"Show Close on Browsers List selection menu", PreferenceTarget::inverseKey, "hideExit"},
    {"Show url on Browsers List selection menu", PreferenceTarget::inverseKey, "hideUrl"},
    {"Use Routelle for mailto: links", PreferenceTarget::mailtoHandler, ""},
    {"Show List on text selection", PreferenceTarget::key, "Experimental"},
    {"Manipulate links inside browsers", PreferenceTarget::key, "Experimental2"},
    {"Clean Links", PreferenceTarget::key, "cleanLinks"},
}};

// The entry whose name equals the text without regard to case.
std::optional<PreferenceName> findPreferenceName(std::string_view text);

}  // namespace routelle
