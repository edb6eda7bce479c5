#pragma once
// Menus drawn from the menu models, and the senders the core reads back.
// Objective-C++ only.
#import <AppKit/AppKit.h>

#include <optional>
#include <string>

#include "ui/Menu.h"

// A menu that knows which model it shows, so that its delegate can tell the core.
@interface RTLModelMenu : NSMenu
@property(nonatomic, assign) const routelle::Menu* model;
// For a submenu made when it opens: what makes its entries (and is its delegate).
@property(nonatomic, strong) id entriesMaker;
@end

namespace routelle::macos {

// Where the entries and controls of a menu send their actions.
struct MenuTargets {
  __unsafe_unretained id entries = nil;   // entries with an action
  SEL entryAction = nullptr;              // nullptr: each entry's own selector
  __unsafe_unretained id controls = nil;  // controls inside entries' views
  __unsafe_unretained id<NSMenuDelegate> delegate = nil;
};

// Replaces the menu's entries by the model's (the same menu object stays, so a
// status item or an open menu keeps it).
void fillMenu(RTLModelMenu* menu, const Menu& model, const MenuTargets& targets);
RTLModelMenu* menuFor(const Menu& model, const MenuTargets& targets);

// The model entry an item was drawn from, with its title and key equivalent as
// they are now; nothing for an item that was not drawn from a model.
std::optional<MenuItem> modelEntryOf(NSMenuItem* item);

// What the core reads of the object that sent an action: the entry or control's
// title, key equivalent and value, under the action's selector text.
MenuItem senderFor(id sender, const std::string& action);

}  // namespace routelle::macos
