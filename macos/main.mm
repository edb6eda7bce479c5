#import <AppKit/AppKit.h>

#import "ApplicationDelegate.h"
#include "platform/macos/Strings.h"  // also refuses a build without ARC

int main(int argc, const char* argv[]) {
  // The application keeps its delegate weakly; this reference keeps it for the run.
  static RTLApplicationDelegate* delegate = nil;
  @autoreleasepool {
    delegate = [RTLApplicationDelegate new];
    [NSApplication sharedApplication].delegate = delegate;
    // The get-URL handler must be in place before a launch by a link delivers its event.
    [delegate awakeFromNib];
  }
  return NSApplicationMain(argc, argv);
}
