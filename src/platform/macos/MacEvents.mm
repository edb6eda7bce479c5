#import <AppKit/AppKit.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacEvents final : public Events {
 public:
  std::uint64_t modifierFlags() override { return NSEvent.modifierFlags; }
  Point mouseLocation() override {
    NSPoint p = NSEvent.mouseLocation;
    return {p.x, p.y};
  }
};

}  // namespace

std::unique_ptr<Events> makeEvents() { return std::make_unique<MacEvents>(); }

}  // namespace routelle::macos
