#import <Foundation/Foundation.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"
#include "platform/macos/Utf16Text.h"

namespace routelle::macos {
namespace {

// The system's data detector, links only. It reads the text as UTF-16; the matches
// are mapped back to the bytes the core gave.
class MacLinkDetector final : public LinkDetector {
 public:
  MacLinkDetector() : detector_([NSDataDetector dataDetectorWithTypes:NSTextCheckingTypeLink error:nil]) {}

  std::vector<LinkMatch> findLinks(std::string_view text) const override {
    std::vector<LinkMatch> out;
    const Utf16Text decoded(text);
    if (!detector_ || decoded.units().empty()) return out;
    NSString* string = [NSString stringWithCharacters:reinterpret_cast<const unichar*>(decoded.units().data())
                                               length:decoded.units().size()];
    NSArray<NSTextCheckingResult*>* results = [detector_ matchesInString:string
                                                                 options:0
                                                                   range:NSMakeRange(0, string.length)];
    for (NSTextCheckingResult* result in results) {
      if (result.resultType != NSTextCheckingTypeLink) continue;
      if (auto match = decoded.link(result.range.location, result.range.length)) out.push_back(std::move(*match));
    }
    return out;
  }

 private:
  __strong NSDataDetector* detector_;
};

}  // namespace

std::unique_ptr<LinkDetector> makeLinkDetector() { return std::make_unique<MacLinkDetector>(); }

}  // namespace routelle::macos
