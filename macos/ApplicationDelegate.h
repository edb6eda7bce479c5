#pragma once
// The application's delegate: the one object the platform calls.
#import <AppKit/AppKit.h>

// Owns the program and forwards the application's and the menus' delegate calls to
// the core's AppDelegate; also the delegate of every menu the program shows.
@interface RTLApplicationDelegate : NSObject <NSApplicationDelegate, NSMenuDelegate>
// Registers the get-URL handler; there is no interface file, so main calls it.
- (void)awakeFromNib;
@end
