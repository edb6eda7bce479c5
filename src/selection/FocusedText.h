#pragma once
#include <optional>
#include <string>

#include "platform/Accessibility.h"

namespace routelle {

// "Focused.readSelectedText": the text selected in the focused element of the
// frontmost application. Nothing on any accessibility error, when no element has
// the focus or when nothing is selected. Bytes that are not UTF-8 come back as
// U+FFFD, one per ill-formed sequence, as the platform's strings would hold them.
std::optional<std::string> readFocusedSelectedText(Accessibility& accessibility);

}  // namespace routelle
