#import <AppKit/AppKit.h>

#include <map>
#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

// One-shot timers in the common modes, so that they also fire while a menu tracks.
class MacRunLoop final : public RunLoop {
 public:
  int schedule(double delaySeconds, Task task) override {
    const int token = next_++;
    auto shared = std::make_shared<Task>(std::move(task));
    NSTimer* timer = [NSTimer timerWithTimeInterval:delaySeconds
                                            repeats:NO
                                              block:^(NSTimer*) {
                                                timers_.erase(token);
                                                (*shared)();
                                              }];
    [[NSRunLoop currentRunLoop] addTimer:timer forMode:NSRunLoopCommonModes];
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
