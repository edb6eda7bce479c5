#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>
#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacAccessibility final : public Accessibility {
 public:
  bool isProcessTrusted(bool prompt) override {
    NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @(prompt)};
    return AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
  }
};

}  // namespace

std::unique_ptr<Accessibility> makeAccessibility() { return std::make_unique<MacAccessibility>(); }

}  // namespace routelle::macos
