#import "ApplicationDelegate.h"

#include <memory>

#import "ActionTarget.h"
#import "MacApp.h"
#import "ScriptCommandBridge.h"
#include "platform/macos/ModelMenus.h"
#include "platform/macos/Strings.h"

namespace {

// The application menu: Quit is all a menu-bar program needs when it shows in the Dock.
NSMenu* mainMenu() {
  NSMenu* applicationMenu = [[NSMenu alloc] initWithTitle:@"Routelle"];
  [applicationMenu addItemWithTitle:@"Quit Routelle" action:@selector(terminate:) keyEquivalent:@"q"];
  NSMenuItem* applicationEntry = [[NSMenuItem alloc] initWithTitle:@"Routelle" action:nil keyEquivalent:@""];
  applicationEntry.submenu = applicationMenu;
  NSMenu* bar = [[NSMenu alloc] initWithTitle:@""];
  [bar addItem:applicationEntry];
  return bar;
}

}  // namespace

@implementation RTLApplicationDelegate {
  std::unique_ptr<routelle::macos::MacApp> _program;
}

- (instancetype)init {
  if (!(self = [super init])) return nil;
  _program = std::make_unique<routelle::macos::MacApp>(self);
  routelle::macos::registerScriptCommandClasses(_program->scripting());
  return self;
}

- (void)awakeFromNib {
  _program->delegate().awakeFromNib();
}

- (void)applicationWillFinishLaunching:(NSNotification*)notification {
  NSApp.mainMenu = mainMenu();
  _program->delegate().applicationWillFinishLaunching();
}

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
  _program->delegate().applicationDidFinishLaunching();
}

- (BOOL)applicationShouldHandleReopen:(NSApplication*)sender hasVisibleWindows:(BOOL)flag {
  return _program->delegate().applicationShouldHandleReopen(flag);
}

- (NSMenu*)applicationDockMenu:(NSApplication*)sender {
  return routelle::macos::menuFor(_program->delegate().applicationDockMenu(),
                                  {_program->actionTarget(), nullptr, _program->actionTarget(), self});
}

- (BOOL)application:(NSApplication*)sender openFile:(NSString*)filename {
  return _program->delegate().applicationOpenFile(routelle::macos::str(filename));
}

- (void)menuWillOpen:(NSMenu*)menu {
  if (![menu isKindOfClass:[RTLModelMenu class]]) return;
  const routelle::Menu* model = ((RTLModelMenu*)menu).model;
  // Only menus that live as long as the program are looked at through their model.
  if (_program->isWatchedMenu(model)) _program->delegate().menuWillOpen(*model);
}

@end
