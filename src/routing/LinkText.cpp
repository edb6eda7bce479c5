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

std::string appNameFromPath(const std::string& path) {
  return text::replaceAll(text::lastPathComponent(path), ".app", "");
}

}  // namespace routelle
