#include "selection/SelectedLink.h"

#include "support/Text.h"

namespace routelle {
namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// The scheme the text begins with, up to its ":". A "." is allowed in a scheme but
// left out here: "example.com:8080" is a host and its port.
std::string_view schemeOf(std::string_view text) {
  if (text.empty() || !isAsciiLetter(text.front())) return {};
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') return text.substr(0, i);
    if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-') return {};
  }
  return {};
}

// "name@host": an "@" with no path, query or fragment before it.
bool isMailAddress(std::string_view text) {
  const std::size_t at = text.find('@');
  return at != std::string_view::npos && at > 0 && text.substr(0, at).find_first_of("/?#") == std::string_view::npos;
}

}  // namespace

SelectedLink selectedLink(std::string_view found) {
  const std::string_view scheme = schemeOf(found);
  if (!scheme.empty()) {
    const bool mail = text::lowercased(scheme) == "mailto";
    return {mail ? SelectedLink::Kind::mail : SelectedLink::Kind::web, std::string(found)};
  }
  if (isMailAddress(found)) return {SelectedLink::Kind::mail, "mailto:" + std::string(found)};
  return {SelectedLink::Kind::web, "http://" + std::string(found)};
}

}  // namespace routelle
