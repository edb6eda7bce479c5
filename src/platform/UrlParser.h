#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace routelle {

struct ParsedUrl {
  std::string scheme;
  std::optional<std::string> host;  // without IPv6 brackets; nothing when the URL has none
  std::string path;
  std::optional<std::string> query;
};

// Parses a URL as the platform's URL class does; nothing when the text is no URL.
class UrlParser {
 public:
  virtual ~UrlParser() = default;
  virtual std::optional<ParsedUrl> parse(std::string_view text) const = 0;
};

}  // namespace routelle
