#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

class MacListArchiver final : public ListArchiver {
 public:
  Bytes archive(const std::vector<std::string>& list) const override {
    NSMutableArray<NSString*>* array = [NSMutableArray arrayWithCapacity:list.size()];
    for (const auto& s : list) [array addObject:ns(s)];
    NSData* data = nil;
    if (@available(macOS 10.13, *)) {
      data = [NSKeyedArchiver archivedDataWithRootObject:array requiringSecureCoding:NO error:nil];
    } else {
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
      data = [NSKeyedArchiver archivedDataWithRootObject:array];
#pragma clang diagnostic pop
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
    return Bytes(bytes, bytes + data.length);
  }

  std::optional<std::vector<std::string>> unarchive(const Bytes& data) const override {
    NSData* ns_data = [NSData dataWithBytes:data.data() length:data.size()];
    id root = nil;
    if (@available(macOS 10.13, *)) {
      NSSet* classes = [NSSet setWithObjects:[NSArray class], [NSString class], nil];
      root = [NSKeyedUnarchiver unarchivedObjectOfClasses:classes fromData:ns_data error:nil];
    } else {
      // The old unarchiver raises on damaged data.
      @try {
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        root = [NSKeyedUnarchiver unarchiveObjectWithData:ns_data];
#pragma clang diagnostic pop
      } @catch (NSException*) {
        root = nil;
      }
    }
    if (![root isKindOfClass:[NSArray class]]) return std::nullopt;
    std::vector<std::string> out;
    for (id element in (NSArray*)root) {
      if (![element isKindOfClass:[NSString class]]) return std::nullopt;
      out.push_back(str(element));
    }
    return out;
  }
};

}  // namespace

std::unique_ptr<ListArchiver> makeListArchiver() { return std::make_unique<MacListArchiver>(); }

}  // namespace routelle::macos
