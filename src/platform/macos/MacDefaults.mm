#import <Foundation/Foundation.h>

#include <atomic>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"
#include "support/Variants.h"

namespace routelle::macos {
namespace {

// Booleans are the two shared boolean numbers; the type encoding tells floating
// point from integers, as the property-list types keep them apart.
DefaultsValue numberValue(NSNumber* number) {
  static NSNumber* const yes = [NSNumber numberWithBool:YES];
  static NSNumber* const no = [NSNumber numberWithBool:NO];
  if (number == yes || number == no) return bool(number.boolValue);
  const char type = number.objCType[0];
  if (type == 'd' || type == 'f') return number.doubleValue;
  return std::int64_t{number.longLongValue};
}

class MacDefaults final : public Defaults {
 public:
  MacDefaults(NSUserDefaults* defaults, bool readOnly) : defaults_(defaults), readOnly_(readOnly) {
    auto* counter = &changes_;
    observer_ = [[NSNotificationCenter defaultCenter] addObserverForName:NSUserDefaultsDidChangeNotification
                                                                  object:defaults
                                                                   queue:nil
                                                              usingBlock:^(NSNotification*) {
                                                                counter->fetch_add(1);
                                                              }];
  }
  ~MacDefaults() override { [[NSNotificationCenter defaultCenter] removeObserver:observer_]; }

  std::uint64_t changeCount() override { return changes_.load(); }

  std::optional<DefaultsValue> object(std::string_view key) override {
    id value = [defaults_ objectForKey:ns(std::string(key))];
    if ([value isKindOfClass:[NSString class]]) return str(value);
    if ([value isKindOfClass:[NSData class]]) {
      NSData* data = value;
      const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
      return Bytes(bytes, bytes + data.length);
    }
    if ([value isKindOfClass:[NSNumber class]]) return numberValue(value);
    return std::nullopt;
  }

  void set(std::string_view key, const DefaultsValue& value) override {
    if (readOnly_) return;
    NSString* k = ns(std::string(key));
    visitVariant(
        [&](const auto& v) {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<V, bool>)
            [defaults_ setBool:v forKey:k];
          else if constexpr (std::is_same_v<V, std::int64_t>)
            [defaults_ setInteger:(NSInteger)v forKey:k];
          else if constexpr (std::is_same_v<V, double>)
            [defaults_ setDouble:v forKey:k];
          else if constexpr (std::is_same_v<V, std::string>)
            [defaults_ setObject:ns(v) forKey:k];
          else
            [defaults_ setObject:[NSData dataWithBytes:v.data() length:v.size()] forKey:k];
        },
        value);
    changes_.fetch_add(1);
  }

  void remove(std::string_view key) override {
    if (readOnly_) return;
    [defaults_ removeObjectForKey:ns(std::string(key))];
    changes_.fetch_add(1);
  }

  bool synchronize() override { return !readOnly_ && [defaults_ synchronize]; }

 private:
  __strong NSUserDefaults* defaults_;
  bool readOnly_;
  // Also counts changes the defaults system reports from elsewhere.
  std::atomic<std::uint64_t> changes_{0};
  __strong id observer_;
};

}  // namespace

std::unique_ptr<Defaults> makeStandardDefaults() {
  return std::make_unique<MacDefaults>([NSUserDefaults standardUserDefaults], false);
}

std::unique_ptr<Defaults> makeSuiteDefaults(const std::string& suiteName) {
  NSUserDefaults* suite = [[NSUserDefaults alloc] initWithSuiteName:ns(suiteName)];
  if (!suite) return nullptr;
  return std::make_unique<MacDefaults>(suite, false);
}

std::unique_ptr<Defaults> makeGlobalDefaults() {
  // The standard defaults search the global domain too; only read through this one.
  return std::make_unique<MacDefaults>([NSUserDefaults standardUserDefaults], true);
}

}  // namespace routelle::macos
