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
};

}  // namespace

std::unique_ptr<Workspace> makeWorkspace() { return std::make_unique<MacWorkspace>(); }

}  // namespace routelle::macos
