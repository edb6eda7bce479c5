#include "routing/LinkText.h"

#include "support/Text.h"

namespace routelle {

std::string repairScheme(const std::string& text) {
  std::string link = text;
  if (!text::contains(link, "//")) link = "http://" + link;
  link = text::replaceAll(link, "http//", "http://");
  return text::replaceAll(link, "https//", "https://");
}

std::string normaliseLink(const std::string& input) {
  std::string link = text::replaceAll(input, "routelle://", "");
  link = text::replaceAll(link, ";;;from:extension", "");
  return repairScheme(link);
}

std::optional<std::string> mailLink(const std::string& link) {
  std::string_view rest = link;
  for (std::string_view scheme : {"http://", "https://"})
    if (text::lowercased(rest.substr(0, scheme.size())) == scheme) {
      rest.remove_prefix(scheme.size());
      break;
    }
  if (text::lowercased(rest.substr(0, 7)) != "mailto:") return std::nullopt;
  return std::string(rest);
}

std::string untilNul(std::string text) {
  if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

std::string appNameFromPath(const std::string& path) {
  return text::replaceAll(text::lastPathComponent(path), ".app", "");
}

}  // namespace routelle
