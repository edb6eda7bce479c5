#include "routing/CleaningTables.h"

#include <algorithm>

namespace routelle {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

bool isLetters(std::string_view label, size_t min, size_t max) {
  if (label.size() < min || label.size() > max) return false;
  return std::all_of(label.begin(), label.end(),
                     [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

// "com", "de", "co.uk", "com.au": a top-level domain, or a country's second level
// under it. Anything longer is somebody else's host under the name.
bool isTopLevelPart(std::string_view rest) {
  const size_t dot = rest.find('.');
  if (dot == std::string_view::npos) return isLetters(rest, 2, 3);
  const std::string_view second = rest.substr(0, dot);
  return (equalsIgnoringCase(second, "co") || equalsIgnoringCase(second, "com")) &&
         isLetters(rest.substr(dot + 1), 2, 2);
}

bool hostMatches(std::string_view pattern, std::string_view host) {
  if (pattern.starts_with("*.")) {
    const std::string_view name = pattern.substr(2);
    return equalsIgnoringCase(host, name) || (host.size() > name.size() && endsWithIgnoringCase(host, name) &&
                                              host[host.size() - name.size() - 1] == '.');
  }
  if (pattern.ends_with(".*")) {
    const std::string_view name = pattern.substr(0, pattern.size() - 1);  // keeps the dot
    return host.size() > name.size() && equalsIgnoringCase(host.substr(0, name.size()), name) &&
           isTopLevelPart(host.substr(name.size()));
  }
  return equalsIgnoringCase(host, pattern);
}

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

}  // namespace

void CleaningTables::addLines(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    addLine(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

void CleaningTables::addLine(std::string_view line) {
  if (line.size() > kMaxCleaningLine) return;
  if (const size_t comment = line.find('#'); comment != std::string_view::npos) line = line.substr(0, comment);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  const auto w = words(line);
  if (w.empty()) return;
  const std::string written(line.substr(static_cast<size_t>(w.front().data() - line.data())));
  if (w[0] == "unwrap" && w.size() >= 4) {
    UnwrapEntry entry{std::string(w[1]), std::string(w[2]), {}, written};
    for (size_t i = 3; i < w.size(); ++i) entry.parameters.emplace_back(w[i]);
    unwrap_.push_back(std::move(entry));
  } else if (w[0] == "strip" && w.size() == 2) {
    std::string_view name = w[1];
    const bool prefix = name.size() > 1 && name.ends_with('*');
    if (prefix) name.remove_suffix(1);
    if (name == "*") return;  // would strip every parameter
    strip_.push_back({std::string(name), prefix, written});
  }
}

const UnwrapEntry* CleaningTables::unwrapEntryFor(std::string_view host, std::string_view path) const {
  if (path.empty()) path = "/";
  for (const auto& entry : unwrap_)
    if ((entry.path == "*" || entry.path == path) && hostMatches(entry.host, host)) return &entry;
  return nullptr;
}

const StripEntry* CleaningTables::stripEntryFor(std::string_view name) const {
  for (const auto& entry : strip_)
    if (entry.prefix ? name.starts_with(entry.name) : name == entry.name) return &entry;
  return nullptr;
}

}  // namespace routelle
