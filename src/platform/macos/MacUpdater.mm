// The updater port's own implementation, for builds without the Sparkle framework:
// it reads the feed, tells the delegate, and offers the newer version's download
// page. It installs nothing itself.
#import <AppKit/AppKit.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"
#include "platform/macos/UpdateFeed.h"

// Fires the scheduled background checks.
@interface RTLUpdateTimerTarget : NSObject
@property(nonatomic, copy) void (^fire)(void);
- (void)timerFired:(NSTimer*)timer;
@end

@implementation RTLUpdateTimerTarget
- (void)timerFired:(NSTimer*)timer {
  if (self.fire) self.fire();
}
@end

namespace routelle::macos {
namespace {

// The keys the Sparkle framework keeps these settings under, so that a build with
// it finds the user's choice.
NSString* const kAutomaticChecksKey = @"SUEnableAutomaticChecks";
NSString* const kAutomaticDownloadsKey = @"SUAutomaticallyUpdate";

class MacUpdater final : public Updater {
 public:
  MacUpdater() : timerTarget_([RTLUpdateTimerTarget new]) {
    auto* self = this;
    timerTarget_.fire = ^{
      self->check(false);
    };
  }
  ~MacUpdater() override { [timer_ invalidate]; }

  // An address that is no URL leaves the updater without a feed.
  void setFeedURL(const std::string& url) override { feed_ = [NSURL URLWithString:ns(url)]; }
  void setUpdateCheckInterval(double seconds) override {
    interval_ = seconds;
    schedule();
  }
  void setDelegate(UpdaterDelegate* delegate) override { delegate_ = delegate; }
  void checkForUpdates() override { check(true); }
  bool automaticallyChecksForUpdates() override { return [defaults() boolForKey:kAutomaticChecksKey]; }
  void setAutomaticallyChecksForUpdates(bool on) override {
    [defaults() setBool:on forKey:kAutomaticChecksKey];
    schedule();
  }
  bool automaticallyDownloadsUpdates() override { return [defaults() boolForKey:kAutomaticDownloadsKey]; }
  void setAutomaticallyDownloadsUpdates(bool on) override { [defaults() setBool:on forKey:kAutomaticDownloadsKey]; }
  std::string userAgentString() override {
    NSString* version = [NSBundle mainBundle].infoDictionary[@"CFBundleShortVersionString"];
    return "Routelle/" + str([version isKindOfClass:[NSString class]] ? version : @"");
  }

 private:
  static NSUserDefaults* defaults() { return [NSUserDefaults standardUserDefaults]; }

  void schedule() {
    [timer_ invalidate];
    timer_ = nil;
    if (!automaticallyChecksForUpdates() || interval_ <= 0) return;
    timer_ = [NSTimer scheduledTimerWithTimeInterval:interval_
                                              target:timerTarget_
                                            selector:@selector(timerFired:)
                                            userInfo:nil
                                             repeats:YES];
  }

  void check(bool userInitiated) {
    if (!feed_) {
      if (userInitiated) alert(@"Update Error!", @"The update feed is not known.", @[ @"OK" ]);
      return;
    }
    NSMutableURLRequest* request = [NSMutableURLRequest requestWithURL:feed_];
    [request setValue:ns(userAgentString()) forHTTPHeaderField:@"User-Agent"];
    auto* self = this;
    NSURLSessionDataTask* task =
        [[NSURLSession sharedSession] dataTaskWithRequest:request
                                        completionHandler:^(NSData* data, NSURLResponse*, NSError* error) {
                                          dispatch_async(dispatch_get_main_queue(), ^{
                                            self->finish(error ? nil : data, error, userInitiated);
                                          });
                                        }];
    [task resume];
  }

  void finish(NSData* data, NSError* error, bool userInitiated) {
    if (!data) {
      NSString* why = error.localizedDescription;
      if (userInitiated) alert(@"Update Error!", why != nil ? why : @"", @[ @"OK" ]);
      return;
    }
    if (delegate_) delegate_->updaterDidFinishLoadingAppcast();
    NSString* running = [NSBundle mainBundle].infoDictionary[@"CFBundleVersion"];
    auto update = newestUpdate(data);
    if (!update || ![running isKindOfClass:[NSString class]] || !isNewerVersion(update->version, str(running))) {
      if (delegate_) delegate_->updaterDidNotFindUpdate();
      if (userInitiated) alert(@"You're up to date!", @"Routelle is the newest version available.", @[ @"OK" ]);
      return;
    }
    if (delegate_) delegate_->updaterDidFindValidUpdate();
    NSString* text = [NSString stringWithFormat:@"Routelle %@ is available.", ns(update->displayVersion)];
    NSURL* page = [NSURL URLWithString:ns(update->url)];
    if (alert(@"A new version of Routelle is available!", text, @[ @"Download", @"Later" ]) == 0 && page)
      [[NSWorkspace sharedWorkspace] openURL:page];
  }

  static NSInteger alert(NSString* message, NSString* information, NSArray<NSString*>* buttons) {
    NSAlert* alert = [NSAlert new];
    alert.messageText = message;
    alert.informativeText = information;
    for (NSString* title in buttons) [alert addButtonWithTitle:title];
    [NSApp activateIgnoringOtherApps:YES];
    return [alert runModal] - NSAlertFirstButtonReturn;
  }

  __strong NSURL* feed_ = nil;
  double interval_ = 0;
  UpdaterDelegate* delegate_ = nullptr;
  __strong RTLUpdateTimerTarget* timerTarget_;
  __strong NSTimer* timer_ = nil;
};

}  // namespace

std::unique_ptr<Updater> makeUpdater() { return std::make_unique<MacUpdater>(); }

}  // namespace routelle::macos
