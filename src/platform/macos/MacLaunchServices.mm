#import <CoreServices/CoreServices.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacLaunchServices final : public LaunchServices {
 public:
  std::optional<std::string> defaultHandler(const std::string& scheme) override {
    CFStringRef handler = LSCopyDefaultHandlerForURLScheme((__bridge CFStringRef)ns(scheme));
    if (!handler) return std::nullopt;
    return str((__bridge_transfer NSString*)handler);
  }

  bool setDefaultHandler(const std::string& scheme, const std::string& bundleIdentifier) override {
    return LSSetDefaultHandlerForURLScheme((__bridge CFStringRef)ns(scheme),
                                           (__bridge CFStringRef)ns(bundleIdentifier)) == noErr;
  }

  std::vector<std::string> applicationsForURL(const std::string& url) override {
    NSURL* target = url.rfind("file:", 0) == 0 ? [NSURL URLWithString:ns(url)]
                                               : (__bridge_transfer NSURL*)CFURLCreateWithString(
                                                     nullptr, (__bridge CFStringRef)ns(url), nullptr);
    if (!target) return {};
    NSArray<NSURL*>* apps =
        (__bridge_transfer NSArray*)LSCopyApplicationURLsForURL((__bridge CFURLRef)target, kLSRolesAll);
    std::vector<std::string> out;
    for (NSURL* app in apps) out.push_back(str(app.path));
    return out;
  }
};

}  // namespace

std::unique_ptr<LaunchServices> makeLaunchServices() { return std::make_unique<MacLaunchServices>(); }

}  // namespace routelle::macos
