#import <AppKit/AppKit.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacSystemInfo final : public SystemInfo {
 public:
  bool isAtLeast(int major, int minor) override {
    return [[NSProcessInfo processInfo] isOperatingSystemAtLeastVersion:{major, minor, 0}];
  }
};

}  // namespace

std::unique_ptr<SystemInfo> makeSystemInfo() { return std::make_unique<MacSystemInfo>(); }

}  // namespace routelle::macos
