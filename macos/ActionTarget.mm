#import "ActionTarget.h"

#import <objc/runtime.h>

#include "platform/macos/ModelMenus.h"
#include "platform/macos/Strings.h"

namespace {

void performAction(id self, SEL selector, id sender) {
  routelle::ActionTarget* receiver = ((RTLActionTarget*)self).receiver;
  if (!receiver) return;
  const std::string action = sel_getName(selector);
  receiver->perform(action, routelle::macos::senderFor(sender, action));
}

}  // namespace

@implementation RTLActionTarget

- (instancetype)initWithReceiver:(routelle::ActionTarget*)receiver {
  if (!(self = [super init])) return nil;
  _receiver = receiver;
  return self;
}

// The program's actions are methods of this class from their first use on; the
// table of actions decides which selectors exist, so none can be forgotten here.
+ (BOOL)resolveInstanceMethod:(SEL)selector {
  if (!routelle::actionForSelector(sel_getName(selector))) return [super resolveInstanceMethod:selector];
  return class_addMethod(self, selector, reinterpret_cast<IMP>(&performAction), "v@:@");
}

@end
