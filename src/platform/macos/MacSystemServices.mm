#import <AppKit/AppKit.h>

#include <map>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

// Receives Apple events for one handler of the core.
@interface RTLAppleEventTarget : NSObject
- (instancetype)initWithHandler:(routelle::AppleEvents::Handler)handler;
- (void)handleEvent:(NSAppleEventDescriptor*)event withReplyEvent:(NSAppleEventDescriptor*)reply;
@end

@implementation RTLAppleEventTarget {
  routelle::AppleEvents::Handler _handler;
}
- (instancetype)initWithHandler:(routelle::AppleEvents::Handler)handler {
  if ((self = [super init])) _handler = std::move(handler);
  return self;
}
- (void)handleEvent:(NSAppleEventDescriptor*)event withReplyEvent:(NSAppleEventDescriptor*)reply {
  NSAppleEventDescriptor* direct = [event paramDescriptorForKeyword:keyDirectObject];
  if (!direct) {
    NSLog(@"No valid URL to handle");
    _handler(std::nullopt);
    return;
  }
  _handler(routelle::macos::str(direct.stringValue));
}
@end

namespace routelle::macos {
namespace {

class MacAppleEvents final : public AppleEvents {
 public:
  void setEventHandler(std::uint32_t eventClass, std::uint32_t eventID, Handler handler) override {
    RTLAppleEventTarget* target = [[RTLAppleEventTarget alloc] initWithHandler:std::move(handler)];
    targets_[{eventClass, eventID}] = target;  // the manager does not retain its handlers
    [[NSAppleEventManager sharedAppleEventManager] setEventHandler:target
                                                       andSelector:@selector(handleEvent:withReplyEvent:)
                                                     forEventClass:eventClass
                                                        andEventID:eventID];
  }

 private:
  std::map<std::pair<std::uint32_t, std::uint32_t>, __strong RTLAppleEventTarget*> targets_;
};

NSArray<NSString*>* nsArguments(const std::vector<std::string>& args) {
  NSMutableArray<NSString*>* out = [NSMutableArray arrayWithCapacity:args.size()];
  for (const auto& a : args) [out addObject:ns(a)];
  return out;
}

class MacProcessLauncher final : public ProcessLauncher {
 public:
  std::optional<int> runAndWait(const std::string& path, const std::vector<std::string>& args) override {
    NSTask* task = launched(path, args);
    if (!task) return std::nullopt;
    [task waitUntilExit];
    return task.terminationStatus;
  }

  bool start(const std::string& path, const std::vector<std::string>& args) override {
    return launched(path, args) != nil;
  }

 private:
  // A task that could not be launched (no such executable) raises; answer nil instead.
  static NSTask* launched(const std::string& path, const std::vector<std::string>& args) {
    NSTask* task = [NSTask new];
    task.launchPath = ns(path);
    task.arguments = nsArguments(args);
    @try {
      [task launch];
    } @catch (NSException*) {
      return nil;
    }
    return task;
  }
};

class MacScriptRunner final : public ScriptRunner {
 public:
  ScriptOutcome run(const std::string& source) override {
    NSAppleScript* script = [[NSAppleScript alloc] initWithSource:ns(source)];
    NSDictionary* error = nil;
    NSAppleEventDescriptor* result = [script executeAndReturnError:&error];
    if (!result) return {false, "", str([error[NSAppleScriptErrorMessage] description])};
    return {true, str(result.stringValue), ""};
  }
};

class MacEvents final : public Events {
 public:
  std::uint64_t modifierFlags() override { return NSEvent.modifierFlags; }
  Point mouseLocation() override {
    NSPoint p = NSEvent.mouseLocation;
    return {p.x, p.y};
  }
};

class MacPasteboard final : public Pasteboard {
 public:
  std::optional<std::string> string() override {
    NSString* s = [[NSPasteboard generalPasteboard] stringForType:NSPasteboardTypeString];
    if (!s) return std::nullopt;
    return str(s);
  }
  void setString(const std::string& text) override {
    [[NSPasteboard generalPasteboard] clearContents];
    [[NSPasteboard generalPasteboard] setString:ns(text) forType:NSPasteboardTypeString];
  }
};

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

std::unique_ptr<ProcessLauncher> makeProcessLauncher() { return std::make_unique<MacProcessLauncher>(); }
std::unique_ptr<ScriptRunner> makeScriptRunner() { return std::make_unique<MacScriptRunner>(); }
std::unique_ptr<Events> makeEvents() { return std::make_unique<MacEvents>(); }
std::unique_ptr<Pasteboard> makeGeneralPasteboard() { return std::make_unique<MacPasteboard>(); }
std::unique_ptr<RunLoop> makeMainRunLoop() { return std::make_unique<MacRunLoop>(); }
std::unique_ptr<AppleEvents> makeAppleEvents() { return std::make_unique<MacAppleEvents>(); }

}  // namespace routelle::macos
