#include "routing/LinkText.h"

#include "support/Text.h"

namespace routelle {

std::string repairScheme(const std::string& text) {
  std::string link = text;
  if (!text::contains(link, "//")) link = "http://" + link;
  link = text::replaceAll(link, "http//", "http://");
  return text::replaceAll(link, "https//", "https://");
}

namespace {

// Every occurrence of the (lower-case ASCII) word removed, in any letter case.
std::string withoutAnyCase(std::string_view text, std::string_view word) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  auto at = [&](std::size_t i) {
    if (text.size() - i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k)
      if (lower(text[i + k]) != word[k]) return false;
    return true;
  };
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (at(i))
      i += word.size();
    else
      out += text[i++];
  }
  return out;
}

}  // namespace

std::string normaliseLink(const std::string& input) {
  // Schemes are compared without regard to case: "ROUTELLE://" is the program's own.
  std::string link = withoutAnyCase(input, "routelle://");
  link = withoutAnyCase(link, ";;;from:extension");
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
