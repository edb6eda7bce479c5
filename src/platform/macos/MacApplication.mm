#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>
#import <MASShortcut/Shortcut.h>

#include <map>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

// The Services entry's provider object.
@interface RTLServicesProvider : NSObject
@property(nonatomic, copy) void (^openUrl)(NSPasteboard* pasteboard);
- (void)openUrlWithRtl:(NSPasteboard*)pboard userData:(NSString*)userData error:(NSString**)error;
@end

@implementation RTLServicesProvider
- (void)openUrlWithRtl:(NSPasteboard*)pboard userData:(NSString*)userData error:(NSString**)error {
  if (self.openUrl) self.openUrl(pboard);
}
@end

namespace routelle::macos {
namespace {

class PasteboardView final : public Pasteboard {
 public:
  explicit PasteboardView(NSPasteboard* board) : board_(board) {}
  std::optional<std::string> string() override {
    NSString* s = [board_ stringForType:NSPasteboardTypeString];
    if (!s) return std::nullopt;
    return str(s);
  }
  void setString(const std::string& text) override {
    [board_ clearContents];
    [board_ setString:ns(text) forType:NSPasteboardTypeString];
  }

 private:
  __strong NSPasteboard* board_;
};

class MacApplication final : public Application {
 public:
  void setActivationPolicy(ActivationPolicy policy) override {
    [NSApp setActivationPolicy:static_cast<NSApplicationActivationPolicy>(policy)];
  }
  void activateIgnoringOtherApps(bool ignoring) override { [NSApp activateIgnoringOtherApps:ignoring]; }
  void terminate() override { [NSApp terminate:nil]; }
  void setServicesProvider(std::function<void(Pasteboard&)> openUrl) override {
    provider_ = [RTLServicesProvider new];
    auto shared = std::make_shared<std::function<void(Pasteboard&)>>(std::move(openUrl));
    provider_.openUrl = ^(NSPasteboard* board) {
      PasteboardView view(board);
      (*shared)(view);
    };
    [NSApp setServicesProvider:provider_];
    NSUpdateDynamicServices();
  }
  std::string infoValue(const std::string& key) override {
    id value = [NSBundle mainBundle].infoDictionary[ns(key)];
    return [value isKindOfClass:[NSString class]] ? str(value) : std::string();
  }
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) override {
    NSString* path = [[NSBundle mainBundle] pathForResource:ns(name) ofType:ns(type)];
    if (!path) return std::nullopt;
    return str(path);
  }

 private:
  __strong RTLServicesProvider* provider_ = nil;
};

class MacAccessibility final : public Accessibility {
 public:
  bool isProcessTrusted(bool prompt) override {
    NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @(prompt)};
    return AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
  }
};

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

class MacSystemInfo final : public SystemInfo {
 public:
  bool isAtLeast(int major, int minor) override {
    return [[NSProcessInfo processInfo] isOperatingSystemAtLeastVersion:{major, minor, 0}];
  }
};

}  // namespace

std::unique_ptr<Application> makeApplication() { return std::make_unique<MacApplication>(); }
std::unique_ptr<Accessibility> makeAccessibility() { return std::make_unique<MacAccessibility>(); }
std::unique_ptr<Shortcuts> makeShortcuts() { return std::make_unique<MacShortcuts>(); }
std::unique_ptr<SystemInfo> makeSystemInfo() { return std::make_unique<MacSystemInfo>(); }

}  // namespace routelle::macos
