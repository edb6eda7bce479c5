#include "platform/macos/ModelMenus.h"

#include <memory>

#include "platform/macos/ModelImages.h"
#include "platform/macos/ModelViews.h"
#include "platform/macos/Strings.h"

@implementation RTLModelMenu
@end

// An entry of the model, kept as the menu item's represented object.
@interface RTLMenuEntry : NSObject
- (instancetype)initWithEntry:(const routelle::MenuItem&)entry;
- (const routelle::MenuItem&)entry;
@end

@implementation RTLMenuEntry {
  routelle::MenuItem _entry;
}
- (instancetype)initWithEntry:(const routelle::MenuItem&)entry {
  if ((self = [super init])) _entry = entry;
  return self;
}
- (const routelle::MenuItem&)entry {
  return _entry;
}
@end

// Makes a submenu's entries each time it is about to open ("menuNeedsUpdate:"),
// so that a list nobody opens holds nothing; the menu's other events go on to
// the delegate the rest of the menus have.
@interface RTLMenuEntriesMaker : NSObject <NSMenuDelegate>
- (instancetype)initWithSource:(routelle::MenuEntrySource)source targets:(const routelle::macos::MenuTargets&)targets;
@end

@implementation RTLMenuEntriesMaker {
  routelle::MenuEntrySource _source;
  std::shared_ptr<routelle::Menu> _made;
  __weak id _entries;
  SEL _entryAction;
  __weak id _controls;
  __weak id<NSMenuDelegate> _delegate;
}
- (instancetype)initWithSource:(routelle::MenuEntrySource)source targets:(const routelle::macos::MenuTargets&)targets {
  if ((self = [super init])) {
    _source = std::move(source);
    _entries = targets.entries;
    _entryAction = targets.entryAction;
    _controls = targets.controls;
    _delegate = targets.delegate;
  }
  return self;
}
- (void)menuNeedsUpdate:(NSMenu*)menu {
  if (![menu isKindOfClass:[RTLModelMenu class]]) return;
  auto made = std::make_shared<routelle::Menu>();
  _source([&](routelle::MenuItem&& item) { made->items.push_back(std::move(item)); });
  __strong id entries = _entries;
  __strong id controls = _controls;
  __strong id<NSMenuDelegate> delegate = _delegate;
  routelle::macos::fillMenu((RTLModelMenu*)menu, *made, {entries, _entryAction, controls, delegate});
  _made = std::move(made);  // the menu's model from now on
  menu.delegate = self;
}
- (void)menuWillOpen:(NSMenu*)menu {
  __strong id<NSMenuDelegate> delegate = _delegate;
  if ([delegate respondsToSelector:@selector(menuWillOpen:)]) [delegate menuWillOpen:menu];
}
- (void)menuDidClose:(NSMenu*)menu {
  __strong id<NSMenuDelegate> delegate = _delegate;
  if ([delegate respondsToSelector:@selector(menuDidClose:)]) [delegate menuDidClose:menu];
}
@end

namespace routelle::macos {
namespace {

RTLModelMenu* menuMadeWhenOpened(const MenuItem& entry, const MenuTargets& targets) {
  RTLModelMenu* menu = [[RTLModelMenu alloc] initWithTitle:ns(entry.title)];
  menu.autoenablesItems = NO;
  RTLMenuEntriesMaker* maker = [[RTLMenuEntriesMaker alloc] initWithSource:entry.submenuEntries targets:targets];
  menu.entriesMaker = maker;
  menu.delegate = maker;
  return menu;
}

NSMenuItem* itemFor(const MenuItem& entry, NSInteger index, const MenuTargets& targets) {
  if (entry.separator) return (NSMenuItem*)[NSMenuItem separatorItem];
  NSMenuItem* item = [[NSMenuItem alloc] initWithTitle:ns(entry.title) action:nil keyEquivalent:@""];
  // Set after creation: the key equivalent may be a whole browser name, which the
  // action reads back.
  item.keyEquivalent = ns(entry.keyEquivalent);
  item.keyEquivalentModifierMask = 0;
  item.enabled = entry.enabled;
  item.tag = index;
  item.representedObject = [[RTLMenuEntry alloc] initWithEntry:entry];
  if (!entry.image.empty()) item.image = imageFor(entry.image);
  if (!entry.action.empty()) {
    item.target = targets.entries;
    item.action = targets.entryAction ? targets.entryAction : NSSelectorFromString(ns(entry.action));
  }
  if (entry.view) item.view = viewFor(*entry.view, targets.controls);
  if (entry.submenu)
    item.submenu = menuFor(*entry.submenu, targets);
  else if (entry.submenuEntries)
    item.submenu = menuMadeWhenOpened(entry, targets);
  return item;
}

}  // namespace

void fillMenu(RTLModelMenu* menu, const Menu& model, const MenuTargets& targets) {
  menu.model = &model;
  menu.title = ns(model.title);
  menu.autoenablesItems = NO;
  menu.delegate = targets.delegate;
  [menu removeAllItems];
  NSInteger index = 0;
  for (const auto& entry : model.items) [menu addItem:itemFor(entry, index++, targets)];
}

RTLModelMenu* menuFor(const Menu& model, const MenuTargets& targets) {
  RTLModelMenu* menu = [[RTLModelMenu alloc] initWithTitle:ns(model.title)];
  fillMenu(menu, model, targets);
  return menu;
}

std::optional<MenuItem> modelEntryOf(NSMenuItem* item) {
  id box = item.representedObject;
  if (![box isKindOfClass:[RTLMenuEntry class]]) return std::nullopt;
  MenuItem entry = [(RTLMenuEntry*)box entry];
  entry.title = str(item.title);
  entry.keyEquivalent = str(item.keyEquivalent);
  return entry;
}

MenuItem senderFor(id sender, const std::string& action) {
  MenuItem out;
  if ([sender isKindOfClass:[NSMenuItem class]]) {
    NSMenuItem* item = sender;
    out = modelEntryOf(item).value_or(MenuItem{});
    out.title = str(item.title);
    out.keyEquivalent = str(item.keyEquivalent);
  } else if ([sender isKindOfClass:[NSButton class]]) {
    NSButton* button = sender;
    out.title = str(button.title);
    out.keyEquivalent = str(button.keyEquivalent);
  }
  if ([sender isKindOfClass:[NSSlider class]]) {
    NSSlider* slider = sender;
    out.view = std::make_shared<View>();
    out.view->kind = View::Kind::slider;
    out.view->minValue = slider.minValue;
    out.view->maxValue = slider.maxValue;
    out.view->value = slider.doubleValue;
  }
  out.action = action;
  return out;
}

}  // namespace routelle::macos
