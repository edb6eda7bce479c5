#import <Foundation/Foundation.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

// Lists are archived arrays of strings; reading admits those two classes only, so a
// damaged or foreign archive can name no other class to be instantiated.
class MacListArchiver final : public ListArchiver {
 public:
  Bytes archive(const std::vector<std::string>& list) const override {
    NSMutableArray<NSString*>* array = [NSMutableArray arrayWithCapacity:list.size()];
    for (const auto& s : list) [array addObject:ns(s)];
    NSData* data = nil;
    if (@available(macOS 10.13, *)) {
      data = [NSKeyedArchiver archivedDataWithRootObject:array requiringSecureCoding:YES error:nil];
    } else {
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
      data = [NSKeyedArchiver archivedDataWithRootObject:array];
#pragma clang diagnostic pop
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
    return Bytes(bytes, bytes + data.length);
  }

  std::optional<std::vector<std::string>> unarchive(std::span<const std::uint8_t> data) const override {
    NSData* archived = [NSData dataWithBytes:data.data() length:data.size()];
    NSSet* classes = [NSSet setWithObjects:[NSArray class], [NSString class], nil];
    id root = nil;
    if (@available(macOS 10.13, *)) {
      root = [NSKeyedUnarchiver unarchivedObjectOfClasses:classes fromData:archived error:nil];
    } else {
      // The older unarchiver raises on damaged data instead of answering nil.
      @try {
        NSKeyedUnarchiver* reader = [[NSKeyedUnarchiver alloc] initForReadingWithData:archived];
        reader.requiresSecureCoding = YES;
        root = [reader decodeObjectOfClasses:classes forKey:NSKeyedArchiveRootObjectKey];
        [reader finishDecoding];
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
