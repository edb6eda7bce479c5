#pragma once
// A pasteboard of the platform behind the port: the general one, or the one a
// Services request brings. Objective-C++ only.
#import <AppKit/AppKit.h>

#include "platform/Pasteboard.h"

namespace routelle::macos {

class MacPasteboard final : public Pasteboard {
 public:
  explicit MacPasteboard(NSPasteboard* board) : board_(board) {}
  std::optional<std::string> string() override;
  void setString(const std::string& text) override;

 private:
  __strong NSPasteboard* board_;
};

}  // namespace routelle::macos
