#import <Foundation/Foundation.h>

#include <map>
#include <memory>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

// Runs one task of the core when its timer fires.
@interface RTLTimerTask : NSObject
- (instancetype)initWithTask:(std::function<void()>)task;
- (void)fire:(NSTimer*)timer;
@end

@implementation RTLTimerTask {
  std::function<void()> _task;
}
- (instancetype)initWithTask:(std::function<void()>)task {
  if ((self = [super init])) _task = std::move(task);
  return self;
}
- (void)fire:(NSTimer*)timer {
  _task();
}
@end

namespace routelle::macos {
namespace {

// One-shot timers on the main run loop in the common modes, so that they also fire
// while a menu is being tracked.
class MacRunLoop final : public RunLoop {
 public:
  int schedule(double delaySeconds, Task task) override {
    const int token = next_++;
    RTLTimerTask* runner = [[RTLTimerTask alloc] initWithTask:[this, token, task = std::move(task)] {
      timers_.erase(token);
      task();
    }];
    NSTimer* timer = [NSTimer timerWithTimeInterval:delaySeconds
                                             target:runner
                                           selector:@selector(fire:)
                                           userInfo:nil
                                            repeats:NO];
    [[NSRunLoop mainRunLoop] addTimer:timer forMode:NSRunLoopCommonModes];
    timers_[token] = timer;
    return token;
  }

  void cancel(int token) override {
    auto it = timers_.find(token);
    if (it == timers_.end()) return;
    [it->second invalidate];
    timers_.erase(it);
  }

 private:
  int next_ = 1;
  std::map<int, __strong NSTimer*> timers_;
};

}  // namespace

std::unique_ptr<RunLoop> makeMainRunLoop() { return std::make_unique<MacRunLoop>(); }

}  // namespace routelle::macos
