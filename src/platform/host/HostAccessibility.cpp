#include "platform/host/HostAccessibility.h"

#include <filesystem>

namespace routelle {

bool HostAccessibility::isProcessTrusted(bool prompt) {
  std::error_code ec;
  const bool trusted = std::filesystem::exists(world_.root() / "Library" / "Accessibility" / "trusted", ec);
  if (!trusted && prompt) transcript_.add("accessibility prompt shown");
  return trusted;
}

}  // namespace routelle
