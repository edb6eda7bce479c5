#include "selection/FocusedText.h"

#include <cstdint>
#include <cstring>

#include "support/Text.h"

namespace routelle {
namespace {

// Selections are mostly ASCII: eight bytes at a time, before the full check.
bool isAscii(std::string_view s) {
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    if (word & 0x8080808080808080u) return false;
  }
  for (; i < s.size(); ++i)
    if (static_cast<unsigned char>(s[i]) & 0x80) return false;
  return true;
}

std::string wellFormed(std::string text) {
  if (isAscii(text) || text::isValidUtf8(text)) return text;
  // Each ill-formed sequence as one U+FFFD, as the link detector counts it.
  return text::withReplacementCharacters(text);
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
