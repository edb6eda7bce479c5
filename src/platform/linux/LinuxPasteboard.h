#pragma once
#include "platform/Pasteboard.h"

namespace routelle {

// The clipboard, or the X11 PRIMARY selection (the text selected last).
class LinuxPasteboard final : public Pasteboard {
 public:
  explicit LinuxPasteboard(bool primarySelection = false) : primary_(primarySelection) {}
  std::optional<std::string> string() override;
  void setString(const std::string& text) override;

 private:
  bool primary_;
};

}  // namespace routelle
