#pragma once
#include <optional>
#include <string>

namespace routelle {

// A pasteboard's plain-text contents.
class Pasteboard {
 public:
  virtual ~Pasteboard() = default;
  virtual std::optional<std::string> string() = 0;
  virtual void setString(const std::string& text) = 0;
};

}  // namespace routelle
