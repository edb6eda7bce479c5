#pragma once
// Where menu entries, buttons and the status button send their actions.
#import <AppKit/AppKit.h>

#include "ui/Actions.h"

// Answers every selector the program knows (openx:, exit, ...) and hands it to the
// core as perform(selector text, sender), with the sender's title, key equivalent,
// value and model entry.
@interface RTLActionTarget : NSObject
- (instancetype)initWithReceiver:(routelle::ActionTarget*)receiver;
@property(nonatomic, readonly, assign) routelle::ActionTarget* receiver;
@end
