#include "support/PublicSuffixList.h"

#include <algorithm>

namespace routelle {
namespace {

constexpr std::size_t kLongestName = 253;  // a host name's longest; no rule is longer

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool isAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

void PublicSuffixList::add(std::string name, Flag flag) { rules_[std::move(name)] |= flag; }

PublicSuffixList PublicSuffixList::parse(std::string_view text, const AsciiForm& asciiForm) {
  PublicSuffixList list;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.starts_with("//")) continue;
    line = line.substr(0, static_cast<std::size_t>(std::find_if(line.begin(), line.end(), isBlank) - line.begin()));
    Flag flag = named;
    if (line.starts_with('!')) {
      flag = exception;
      line.remove_prefix(1);
    } else if (line.starts_with("*.")) {
      flag = wildcard;
      line.remove_prefix(2);
    }
    // A "*" anywhere else, an empty name or one longer than any host is no rule the list has.
    if (line.empty() || line.size() > kLongestName || line.find('*') != std::string_view::npos) continue;
    if (!isAscii(line))
      if (auto ascii = asciiForm ? asciiForm(line) : std::nullopt; ascii && !ascii->empty()) list.add(*ascii, flag);
    list.add(std::string(line), flag);
  }
  return list;
}

bool PublicSuffixList::isPublicSuffix(std::string_view asciiHost) const {
  if (asciiHost.empty() || asciiHost.size() > kLongestName) return false;
  if (const auto rule = rules_.find(std::string(asciiHost)); rule != rules_.end())
    return (rule->second & exception) == 0;
  // One label under a wildcard's name; an exception for it was found above.
  const std::size_t dot = asciiHost.find('.');
  if (dot == std::string_view::npos) return false;
  const auto parent = rules_.find(std::string(asciiHost.substr(dot + 1)));
  return parent != rules_.end() && (parent->second & wildcard) != 0;
}

}  // namespace routelle
