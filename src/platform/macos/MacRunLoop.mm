#import <Foundation/Foundation.h>

#include <map>
#include <memory>
#include <mutex>

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
// while a menu is being tracked; repeating timers are dispatch timer sources on
// concurrent queues of their own.
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

  // The main queue is the one thing here another thread may reach.
  void post(Task task) override {
    auto shared = std::make_shared<Task>(std::move(task));
    dispatch_async(dispatch_get_main_queue(), ^{
      (*shared)();
    });
  }

  int scheduleRepeating(const std::string& queueLabel, double firstDelay, double interval, double leeway,
                        Task task) override {
    dispatch_queue_t queue = dispatch_queue_create(queueLabel.c_str(), DISPATCH_QUEUE_CONCURRENT);
    dispatch_source_t timer = dispatch_source_create(DISPATCH_SOURCE_TYPE_TIMER, 0, 0, queue);
    dispatch_source_set_timer(timer, dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(firstDelay * NSEC_PER_SEC)),
                              static_cast<uint64_t>(interval * NSEC_PER_SEC),
                              static_cast<uint64_t>(leeway * NSEC_PER_SEC));
    auto shared = std::make_shared<Task>(std::move(task));
    dispatch_source_set_event_handler(timer, ^{
      (*shared)();
    });
    dispatch_resume(timer);
    std::lock_guard lock(repeatingMutex_);
    const int token = nextRepeating_++;
    repeating_[token] = timer;
    return token;
  }

  void cancelRepeating(int token) override {
    std::lock_guard lock(repeatingMutex_);
    auto it = repeating_.find(token);
    if (it == repeating_.end()) return;
    dispatch_source_cancel(it->second);
    repeating_.erase(it);
  }

 private:
  int next_ = 1;
  std::map<int, __strong NSTimer*> timers_;
  std::mutex repeatingMutex_;
  int nextRepeating_ = 1;
  std::map<int, __strong dispatch_source_t> repeating_;
};

}  // namespace

std::unique_ptr<RunLoop> makeMainRunLoop() { return std::make_unique<MacRunLoop>(); }

}  // namespace routelle::macos
