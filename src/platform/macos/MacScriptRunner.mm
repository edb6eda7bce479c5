#import <CoreServices/CoreServices.h>
#import <Foundation/Foundation.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacScriptRunner final : public ScriptRunner {
 public:
  ScriptOutcome run(const std::string& source) override {
    NSAppleScript* script = [[NSAppleScript alloc] initWithSource:ns(source)];
    NSDictionary<NSString*, id>* error = nil;
    NSAppleEventDescriptor* result = [script executeAndReturnError:&error];
    if (!result) return {false, "", str([error[NSAppleScriptErrorMessage] description])};
    return {true, str(result.stringValue), ""};
  }

  void determinePermissionToAutomate(const std::string& bundleIdentifier) override {
    // Automation permission exists from macOS 10.14 on; before, every target may be scripted.
    if (@available(macOS 10.14, *)) {
      NSAppleEventDescriptor* target = [NSAppleEventDescriptor descriptorWithBundleIdentifier:ns(bundleIdentifier)];
      AEDeterminePermissionToAutomateTarget(target.aeDesc, typeWildCard, typeWildCard, false);
    }
  }
};

}  // namespace

std::unique_ptr<ScriptRunner> makeScriptRunner() { return std::make_unique<MacScriptRunner>(); }

}  // namespace routelle::macos
