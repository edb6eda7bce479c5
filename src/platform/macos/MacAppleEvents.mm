#import <AppKit/AppKit.h>
#import <CoreServices/CoreServices.h>

#include <map>
#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

// Receives Apple events for one handler of the core.
@interface RTLAppleEventTarget : NSObject
- (instancetype)initWithHandler:(routelle::AppleEvents::Handler)handler;
- (void)handleEvent:(NSAppleEventDescriptor*)event withReplyEvent:(NSAppleEventDescriptor*)reply;
@end

@implementation RTLAppleEventTarget {
  routelle::AppleEvents::Handler _handler;
}
- (instancetype)initWithHandler:(routelle::AppleEvents::Handler)handler {
  if ((self = [super init])) _handler = std::move(handler);
  return self;
}
- (void)handleEvent:(NSAppleEventDescriptor*)event withReplyEvent:(NSAppleEventDescriptor*)reply {
  // A direct parameter that cannot be read as text is no link either.
  NSString* link = [event paramDescriptorForKeyword:keyDirectObject].stringValue;
  if (!link) {
    NSLog(@"No valid URL to handle");
    _handler(std::nullopt);
    return;
  }
  _handler(routelle::macos::str(link));
}
@end

namespace routelle::macos {
namespace {

class MacAppleEvents final : public AppleEvents {
 public:
  void setEventHandler(std::uint32_t eventClass, std::uint32_t eventID, Handler handler) override {
    RTLAppleEventTarget* target = [[RTLAppleEventTarget alloc] initWithHandler:std::move(handler)];
    targets_[{eventClass, eventID}] = target;  // the manager does not retain its handlers
    [[NSAppleEventManager sharedAppleEventManager] setEventHandler:target
                                                       andSelector:@selector(handleEvent:withReplyEvent:)
                                                     forEventClass:eventClass
                                                        andEventID:eventID];
  }

 private:
  std::map<std::pair<std::uint32_t, std::uint32_t>, __strong RTLAppleEventTarget*> targets_;
};

}  // namespace

std::unique_ptr<AppleEvents> makeAppleEvents() { return std::make_unique<MacAppleEvents>(); }

}  // namespace routelle::macos
