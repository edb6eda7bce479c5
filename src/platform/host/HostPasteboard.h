#pragma once
#include <optional>
#include <string>

#include "platform/Pasteboard.h"

namespace routelle {

class HostPasteboard final : public Pasteboard {
 public:
  std::optional<std::string> string() override { return contents; }
  void setString(const std::string& text) override { contents = text; }
  std::optional<std::string> contents;
};

}  // namespace routelle
