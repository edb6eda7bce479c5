#pragma once
#include <optional>
#include <string>

#include "platform/Accessibility.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

// Accessibility of the host world. Trust is the file Library/Accessibility/trusted;
// the focused element of the frontmost application and its selection are set by the
// driver and the tests, and so are errors that the next reads answer with.
class HostAccessibility final : public Accessibility {
 public:
  HostAccessibility(const World& world, Transcript& transcript) : world_(world), transcript_(transcript) {}
  bool isProcessTrusted(bool prompt) override;
  AccessibilityAnswer<std::shared_ptr<const AccessibilityElement>> focusedElement() override;
  AccessibilityAnswer<std::string> selectedText(const AccessibilityElement& element) override;

  void setTrusted(bool trusted);
  // A focused element selecting the text; an empty text: nothing selected.
  void focusElementSelecting(std::string text);
  // No element has the focus.
  void removeFocus() { focused_.reset(); }

  // Errors of the reads (success: the world answers as it stands).
  AccessibilityStatus focusedElementError = AccessibilityStatus::success;
  AccessibilityStatus selectedTextError = AccessibilityStatus::success;

 private:
  const World& world_;
  Transcript& transcript_;
  std::optional<std::string> focused_;  // the focused element's selected text
};

}  // namespace routelle
