#pragma once
#include <memory>
#include <optional>
#include <string>

namespace routelle {

// Status codes of the accessibility calls, the platform's own numbers.
enum class AccessibilityStatus : int {
  success = 0,
  failure = -25200,
  illegalArgument = -25201,
  invalidElement = -25202,
  cannotComplete = -25204,
  attributeUnsupported = -25205,
  apiDisabled = -25211,
  noValue = -25212,
};

// What an accessibility read answers: a status, and a value only on success.
template <class T>
struct AccessibilityAnswer {
  AccessibilityStatus status = AccessibilityStatus::failure;
  std::optional<T> value;
};

// An element of another application's user interface; each adapter derives its own
// and releases what it holds when the last reference goes.
class AccessibilityElement {
 public:
  virtual ~AccessibilityElement() = default;
};

// Accessibility trust of the process, and reads of other applications' interfaces.
class Accessibility {
 public:
  virtual ~Accessibility() = default;
  // Why the session cannot show other applications' selections at all (the menu
  // offers the selection assistant disabled, with this reason); nothing when it can.
  virtual std::optional<std::string> selectionUnavailableReason() { return std::nullopt; }
  // With prompt, the system asks the user to grant trust when it is missing.
  virtual bool isProcessTrusted(bool prompt) = 0;
  // The system-wide element's "AXFocusedUIElement".
  virtual AccessibilityAnswer<std::shared_ptr<const AccessibilityElement>> focusedElement() = 0;
  // The element's "AXSelectedText" in its text form (UTF-8).
  virtual AccessibilityAnswer<std::string> selectedText(const AccessibilityElement& element) = 0;
};

}  // namespace routelle
