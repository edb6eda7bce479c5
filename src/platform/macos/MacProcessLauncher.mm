#import <AppKit/AppKit.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

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

}  // namespace

std::unique_ptr<ProcessLauncher> makeProcessLauncher() { return std::make_unique<MacProcessLauncher>(); }

}  // namespace routelle::macos
