#pragma once
#include "platform/UrlParser.h"

namespace routelle {

// URL parsing of the host world, strict as the platform's URL class: text that
// is not a URI (blanks, control characters, non-ASCII) does not parse.
class HostUrlParser final : public UrlParser {
 public:
  std::optional<ParsedUrl> parse(std::string_view text) const override;
  // What parse answers without reading plain URLs itself; tests compare the two.
  static std::optional<ParsedUrl> parseGenerally(std::string_view text);
  std::optional<std::string> asciiHost(std::string_view host) const override;
  bool isPublicSuffix(std::string_view asciiHost) const override;
};

}  // namespace routelle
