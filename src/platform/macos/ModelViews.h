#pragma once
// Views and windows drawn from the view models. Objective-C++ only.
#import <AppKit/AppKit.h>

#include "ui/View.h"

namespace routelle::macos {

NSRect rectOf(const Rect& r);
// Controls send their model's action to `target`, by its selector text.
// `edits`, when given, hears each change the user makes to a control without an
// action of its own: editable fields as their delegate (controlTextDidChange:),
// pop-ups and checkboxes through `controlChanged:`.
NSView* viewFor(const View& view, id target, id<NSTextFieldDelegate> edits = nil);
// The model's texts shown again in the fields the user does not edit (the core
// changed them while the views were shown).
void showModelText(NSView* drawn, const View& model);
// What the user left in the controls drawn from the model (text typed into an
// editable field, the pop-up entry selected, a checkbox's state), written back.
void readUserInput(NSView* drawn, View& model);
// The window styled and filled as the model says; `reuse` is restyled when given
// (windows are kept, never released when closed).
NSWindow* windowFor(const WindowModel& model, NSWindow* reuse, id target);

}  // namespace routelle::macos
