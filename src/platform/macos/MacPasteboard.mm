#include "platform/macos/MacPasteboard.h"

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {

std::optional<std::string> MacPasteboard::string() {
  NSString* s = [board_ stringForType:NSPasteboardTypeString];
  if (!s) return std::nullopt;
  return str(s);
}

void MacPasteboard::setString(const std::string& text) {
  [board_ clearContents];
  [board_ setString:ns(text) forType:NSPasteboardTypeString];
}

std::unique_ptr<Pasteboard> makeGeneralPasteboard() {
  return std::make_unique<MacPasteboard>([NSPasteboard generalPasteboard]);
}

}  // namespace routelle::macos
