#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>

#include <type_traits>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

// The core's statuses are the platform's numbers: errors pass through as they are.
static_assert(static_cast<int>(AccessibilityStatus::success) == kAXErrorSuccess);
static_assert(static_cast<int>(AccessibilityStatus::failure) == kAXErrorFailure);
static_assert(static_cast<int>(AccessibilityStatus::illegalArgument) == kAXErrorIllegalArgument);
static_assert(static_cast<int>(AccessibilityStatus::invalidElement) == kAXErrorInvalidUIElement);
static_assert(static_cast<int>(AccessibilityStatus::cannotComplete) == kAXErrorCannotComplete);
static_assert(static_cast<int>(AccessibilityStatus::attributeUnsupported) == kAXErrorAttributeUnsupported);
static_assert(static_cast<int>(AccessibilityStatus::apiDisabled) == kAXErrorAPIDisabled);
static_assert(static_cast<int>(AccessibilityStatus::noValue) == kAXErrorNoValue);

AccessibilityStatus statusOf(AXError error) { return static_cast<AccessibilityStatus>(error); }

// One reference of a Core Foundation object, released when the owner goes.
struct ReleaseCFType {
  void operator()(CFTypeRef object) const { CFRelease(object); }
};
using OwnedCFType = std::unique_ptr<std::remove_pointer_t<CFTypeRef>, ReleaseCFType>;

// An attribute's value, owned, or the platform's error.
struct AttributeValue {
  AXError error = kAXErrorFailure;
  OwnedCFType value;
};

AttributeValue copyAttribute(AXUIElementRef element, NSString* attribute) {
  CFTypeRef value = nullptr;
  AttributeValue out;
  out.error = AXUIElementCopyAttributeValue(element, (__bridge CFStringRef)attribute, &value);
  out.value.reset(value);
  return out;
}

// An element of another application's interface; the last reference releases it.
class MacElement final : public AccessibilityElement {
 public:
  explicit MacElement(OwnedCFType element) : element_(std::move(element)) {}
  AXUIElementRef element() const { return static_cast<AXUIElementRef>(element_.get()); }

 private:
  OwnedCFType element_;
};

class MacAccessibility final : public Accessibility {
 public:
  bool isProcessTrusted(bool prompt) override {
    NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @(prompt)};
    return AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
  }

  AccessibilityAnswer<std::shared_ptr<const AccessibilityElement>> focusedElement() override {
    const OwnedCFType systemWide(AXUIElementCreateSystemWide());
    if (!systemWide) return {AccessibilityStatus::failure, std::nullopt};
    AttributeValue focused = copyAttribute(static_cast<AXUIElementRef>(systemWide.get()),
                                           @"AXFocusedUIElement");  // kAXFocusedUIElementAttribute
    if (focused.error != kAXErrorSuccess) return {statusOf(focused.error), std::nullopt};
    if (!focused.value) return {AccessibilityStatus::noValue, std::nullopt};
    if (CFGetTypeID(focused.value.get()) != AXUIElementGetTypeID()) return {AccessibilityStatus::failure, std::nullopt};
    return {AccessibilityStatus::success, std::make_shared<const MacElement>(std::move(focused.value))};
  }

  AccessibilityAnswer<std::string> selectedText(const AccessibilityElement& element) override {
    const auto* mac = dynamic_cast<const MacElement*>(&element);
    if (!mac) return {AccessibilityStatus::illegalArgument, std::nullopt};
    AttributeValue selected = copyAttribute(mac->element(), @"AXSelectedText");  // kAXSelectedTextAttribute
    if (selected.error != kAXErrorSuccess) return {statusOf(selected.error), std::nullopt};
    if (!selected.value) return {AccessibilityStatus::noValue, std::nullopt};
    if (CFGetTypeID(selected.value.get()) != CFStringGetTypeID()) return {AccessibilityStatus::failure, std::nullopt};
    return {AccessibilityStatus::success, str((__bridge NSString*)selected.value.get())};
  }
};

}  // namespace

std::unique_ptr<Accessibility> makeAccessibility() { return std::make_unique<MacAccessibility>(); }

}  // namespace routelle::macos
