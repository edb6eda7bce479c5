#import <AppKit/AppKit.h>
#import <MASShortcut/Shortcut.h>
#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacShortcuts final : public Shortcuts {
 public:
  void unregisterAllShortcuts() override { [[MASShortcutMonitor sharedMonitor] unregisterAllShortcuts]; }
  void registerShortcut(unsigned keyCode, std::uint64_t flags, std::function<void()> action) override {
    MASShortcut* shortcut = [[MASShortcut alloc] initWithKeyCode:keyCode modifierFlags:(NSEventModifierFlags)flags];
    auto shared = std::make_shared<std::function<void()>>(std::move(action));
    [[MASShortcutMonitor sharedMonitor] registerShortcut:shortcut
                                              withAction:^{
                                                dispatch_async(dispatch_get_main_queue(), ^{
                                                  (*shared)();
                                                });
                                              }];
  }
};

}  // namespace

std::unique_ptr<Shortcuts> makeShortcuts() { return std::make_unique<MacShortcuts>(); }

}  // namespace routelle::macos
