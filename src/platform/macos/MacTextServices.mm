#import <Foundation/Foundation.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"
#include "support/Text.h"

namespace routelle::macos {
namespace {

// The system's own Unicode tables, through NSString.
class MacTextServices final : public TextServices {
 public:
  std::string lowercased(std::string_view text) const override { return str(string(text).lowercaseString); }
  std::string capitalized(std::string_view text) const override { return str(string(text).capitalizedString); }
  bool equalsIgnoringCase(std::string_view a, std::string_view b) const override {
    return [string(a) caseInsensitiveCompare:string(b)] == NSOrderedSame;
  }
  std::string composedCharacterPrefix(std::string_view text, std::size_t count) const override {
    NSString* s = string(text);
    NSUInteger end = 0;
    for (std::size_t counted = 0; counted < count && end < s.length; ++counted)
      end = NSMaxRange([s rangeOfComposedCharacterSequenceAtIndex:end]);
    return end >= s.length ? std::string(text) : str([s substringToIndex:end]);
  }

 private:
  // Ill-formed bytes read as U+FFFD, as everywhere else in the program.
  static NSString* string(std::string_view text) { return ns(text::withReplacementCharacters(text)); }
};

}  // namespace

std::unique_ptr<TextServices> makeTextServices() { return std::make_unique<MacTextServices>(); }

}  // namespace routelle::macos
