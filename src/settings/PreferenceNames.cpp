#include "settings/PreferenceNames.h"

#include "support/Text.h"

namespace routelle {

std::optional<PreferenceName> findPreferenceName(std::string_view text) {
  for (const auto& entry : preferenceNames)
    if (text::equalsIgnoringCase(entry.name, text)) return entry;
  return std::nullopt;
}

}  // namespace routelle
