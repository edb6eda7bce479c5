#import <AppKit/AppKit.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacWorkspace final : public Workspace {
 public:
  std::optional<std::string> pathForBundleIdentifier(const std::string& identifier) override {
    NSString* path = [[NSWorkspace sharedWorkspace] absolutePathForAppBundleWithIdentifier:ns(identifier)];
    if (!path) return std::nullopt;
    return str(path);
  }

  std::optional<std::string> fullPathForApplication(const std::string& name) override {
    NSString* path = [[NSWorkspace sharedWorkspace] fullPathForApplication:ns(name)];
    if (!path) return std::nullopt;
    return str(path);
  }

  std::optional<std::string> bundleIdentifier(const std::string& path) override {
    NSBundle* bundle = [[NSBundle alloc] initWithPath:ns(path)];
    NSString* identifier = bundle.bundleIdentifier;
    if (identifier.length == 0) return std::nullopt;
    return str(identifier);
  }

  std::vector<RunningApplication> runningApplications() override {
    std::vector<RunningApplication> out;
    for (NSRunningApplication* app in [NSWorkspace sharedWorkspace].runningApplications) out.push_back(convert(app));
    return out;
  }

  std::optional<RunningApplication> frontmostApplication() override {
    NSRunningApplication* app = [NSWorkspace sharedWorkspace].frontmostApplication;
    if (!app) return std::nullopt;
    return convert(app);
  }

  bool openURL(const std::string& url) override {
    NSURL* parsed = [NSURL URLWithString:ns(url)];
    return parsed && [[NSWorkspace sharedWorkspace] openURL:parsed];
  }

  bool fileExists(const std::string& path) override {
    return [[NSFileManager defaultManager] fileExistsAtPath:ns(path)];
  }

  bool activateIgnoringOtherApps(const RunningApplication& app) override {
    if (app.processIdentifier <= 0) return false;
    NSRunningApplication* running =
        [NSRunningApplication runningApplicationWithProcessIdentifier:app.processIdentifier];
    return running && !running.terminated && [running activateWithOptions:NSApplicationActivateIgnoringOtherApps];
  }

 private:
  static RunningApplication convert(NSRunningApplication* app) {
    RunningApplication out;
    out.localizedName = str(app.localizedName);
    if (app.bundleURL) out.bundlePath = str(app.bundleURL.path);
    out.bundleIdentifier = str(app.bundleIdentifier);
    // The platform answers -1 for an application without a process of its own.
    out.processIdentifier = app.processIdentifier > 0 ? app.processIdentifier : 0;
    return out;
  }
};

}  // namespace

std::unique_ptr<Workspace> makeWorkspace() { return std::make_unique<MacWorkspace>(); }

}  // namespace routelle::macos
