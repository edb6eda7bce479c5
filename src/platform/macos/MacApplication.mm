#import <AppKit/AppKit.h>

#include "platform/macos/MacPasteboard.h"
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
      MacPasteboard view(board);
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

}  // namespace

std::unique_ptr<Application> makeApplication() { return std::make_unique<MacApplication>(); }

}  // namespace routelle::macos
