// The updater port over the Sparkle framework, when the build finds it.
#import <Sparkle/Sparkle.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

// Forwards the updater's delegate callbacks to the core's delegate.
@interface RTLUpdaterDelegateBridge : NSObject <SUUpdaterDelegate>
@property(nonatomic, assign) routelle::UpdaterDelegate* target;
@end

@implementation RTLUpdaterDelegateBridge
- (void)updaterDidNotFindUpdate:(SUUpdater*)updater {
  if (self.target) self.target->updaterDidNotFindUpdate();
}
- (void)updater:(SUUpdater*)updater didFindValidUpdate:(SUAppcastItem*)item {
  if (self.target) self.target->updaterDidFindValidUpdate();
}
- (void)updater:(SUUpdater*)updater didFinishLoadingAppcast:(SUAppcast*)appcast {
  if (self.target) self.target->updaterDidFinishLoadingAppcast();
}
- (BOOL)updaterShouldRelaunchApplication:(SUUpdater*)updater {
  return self.target ? self.target->updaterShouldRelaunchApplication() : YES;
}
- (void)updaterWillRelaunchApplication:(SUUpdater*)updater {
  if (self.target) self.target->updaterWillRelaunchApplication();
}
@end

namespace routelle::macos {
namespace {

class MacUpdater final : public Updater {
 public:
  MacUpdater() : bridge_([RTLUpdaterDelegateBridge new]) {}

  // An address that is no URL leaves the updater without a feed.
  void setFeedURL(const std::string& url) override {
    [[SUUpdater sharedUpdater] setFeedURL:[NSURL URLWithString:ns(url)]];
  }
  void setUpdateCheckInterval(double seconds) override { [[SUUpdater sharedUpdater] setUpdateCheckInterval:seconds]; }
  void setDelegate(UpdaterDelegate* delegate) override {
    bridge_.target = delegate;
    [[SUUpdater sharedUpdater] setDelegate:bridge_];
  }
  void checkForUpdates() override { [[SUUpdater sharedUpdater] checkForUpdates:nil]; }
  bool automaticallyChecksForUpdates() override { return [SUUpdater sharedUpdater].automaticallyChecksForUpdates; }
  void setAutomaticallyChecksForUpdates(bool on) override {
    [[SUUpdater sharedUpdater] setAutomaticallyChecksForUpdates:on];
  }
  bool automaticallyDownloadsUpdates() override { return [SUUpdater sharedUpdater].automaticallyDownloadsUpdates; }
  void setAutomaticallyDownloadsUpdates(bool on) override {
    [[SUUpdater sharedUpdater] setAutomaticallyDownloadsUpdates:on];
  }
  std::string userAgentString() override { return str([SUUpdater sharedUpdater].userAgentString); }

 private:
  __strong RTLUpdaterDelegateBridge* bridge_;
};

}  // namespace

std::unique_ptr<Updater> makeUpdater() { return std::make_unique<MacUpdater>(); }

}  // namespace routelle::macos
