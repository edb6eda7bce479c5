#include "selection/FocusedText.h"

#include <unicode/unistr.h>

#include <cstdint>
#include <limits>

#include "support/Text.h"

namespace routelle {
namespace {

std::string wellFormed(std::string text) {
  if (text::isValidUtf8(text)) return text;
  // ICU reads each ill-formed sequence as one U+FFFD, as the link detector counts it.
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return {};
  std::string out;
  icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())))
      .toUTF8String(out);
  return out;
}

}  // namespace

std::optional<std::string> readFocusedSelectedText(Accessibility& accessibility) {
  auto focused = accessibility.focusedElement();
  if (focused.status != AccessibilityStatus::success || !focused.value || !*focused.value) return std::nullopt;
  auto selected = accessibility.selectedText(**focused.value);
  if (selected.status != AccessibilityStatus::success || !selected.value) return std::nullopt;
  std::string text = wellFormed(std::move(*selected.value));
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace routelle
