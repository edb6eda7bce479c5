#pragma once
#include "platform/Accessibility.h"

namespace routelle {

// The selected text of other applications is X11's PRIMARY selection, which any
// client may read: trusted always, the focused element is the selection itself.
// A session without it (Wayland without the primary-selection protocol) says why.
class LinuxAccessibility final : public Accessibility {
 public:
  bool isProcessTrusted(bool) override { return !selectionUnavailableReason(); }
  std::optional<std::string> selectionUnavailableReason() override;
  AccessibilityAnswer<std::shared_ptr<const AccessibilityElement>> focusedElement() override;
  AccessibilityAnswer<std::string> selectedText(const AccessibilityElement& element) override;
};

}  // namespace routelle
