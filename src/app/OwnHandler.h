#pragma once
#include <optional>
#include <string>

#include "support/Text.h"

namespace routelle {

// Whether a default handler, as the system reports its identifier, is this
// program (any build whose identifier begins so).
inline bool isOwnHandler(const std::optional<std::string>& bundleIdentifier) {
  return bundleIdentifier && text::lowercased(*bundleIdentifier).starts_with("com.kestrova.routelle");
}

}  // namespace routelle
