#include "routing/LinkCleaner.h"

#include <algorithm>

#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

// A link wrapped more often than this is left as the last unwrapping gave it.
constexpr int kMaxUnwrapping = 5;
constexpr size_t kMaxShippedFile = 1 << 20;

struct LinkParts {
  std::string_view scheme, host, path, query, fragment;  // query and fragment without '?' and '#'
  bool hasQuery = false;
  bool hasFragment = false;
  size_t queryStart = 0;  // offset of the query in the link
};

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Splits an http(s) link; nothing for other schemes or a link without a host.
std::optional<LinkParts> splitWebLink(std::string_view link) {
  LinkParts parts;
  size_t schemeEnd = 0;
  if (startsWithIgnoringCase(link, "http://"))
    schemeEnd = 7;
  else if (startsWithIgnoringCase(link, "https://"))
    schemeEnd = 8;
  else
    return std::nullopt;
  parts.scheme = link.substr(0, schemeEnd - 3);
  const size_t authorityEnd = std::min(link.find_first_of("/?#", schemeEnd), link.size());
  std::string_view authority = link.substr(schemeEnd, authorityEnd - schemeEnd);
  if (const size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  if (authority.starts_with('[')) {
    const size_t close = authority.find(']');
    parts.host = close == std::string_view::npos ? authority : authority.substr(0, close + 1);
  } else {
    parts.host = authority.substr(0, authority.find(':'));
  }
  if (parts.host.empty()) return std::nullopt;
  const size_t fragmentStart = std::min(link.find('#', authorityEnd), link.size());
  const size_t queryMark = link.find('?', authorityEnd);
  const size_t pathEnd = std::min(queryMark, fragmentStart);
  parts.path = link.substr(authorityEnd, pathEnd - authorityEnd);
  if (queryMark < fragmentStart) {
    parts.hasQuery = true;
    parts.queryStart = queryMark + 1;
    parts.query = link.substr(queryMark + 1, fragmentStart - queryMark - 1);
  }
  if (fragmentStart < link.size()) {
    parts.hasFragment = true;
    parts.fragment = link.substr(fragmentStart + 1);
  }
  return parts;
}

bool isOnion(std::string_view host) {
  while (host.ends_with('.')) host.remove_suffix(1);
  return host.size() >= 6 && startsWithIgnoringCase(host.substr(host.size() - 6), ".onion");
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Percent-decoding of a parameter value; nothing when an escape is broken.
std::optional<std::string> percentDecoded(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '%') {
      out.push_back(value[i]);
      continue;
    }
    if (i + 2 >= value.size()) return std::nullopt;
    const int high = hexValue(value[i + 1]), low = hexValue(value[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return out;
}

// The wrapped value only counts when it is itself a whole http(s) link.
bool isWebLink(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return false;
  return splitWebLink(text).has_value();
}

template <typename Visit>
void forEachParameter(std::string_view query, Visit visit) {
  size_t start = 0;
  while (start <= query.size()) {
    const size_t end = std::min(query.find('&', start), query.size());
    const std::string_view pair = query.substr(start, end - start);
    const size_t equals = pair.find('=');
    visit(pair.substr(0, equals), equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1),
          start, end);
    start = end + 1;
  }
}

const UnwrapEntry* unwrapEntry(const std::vector<const CleaningTables*>& tables, const LinkParts& parts) {
  for (const auto* t : tables)
    if (auto* entry = t->unwrapEntryFor(parts.host, parts.path)) return entry;
  return nullptr;
}

const StripEntry* stripEntry(const std::vector<const CleaningTables*>& tables, std::string_view name) {
  for (const auto* t : tables)
    if (auto* entry = t->stripEntryFor(name)) return entry;
  return nullptr;
}

std::optional<std::string> wrappedLink(const UnwrapEntry& entry, const LinkParts& parts) {
  for (const auto& wanted : entry.parameters) {
    std::optional<std::string> found;
    forEachParameter(parts.query, [&](std::string_view name, std::string_view value, size_t, size_t) {
      if (!found && name == wanted) found = percentDecoded(value).value_or("");
    });
    // Google's "q" is empty where "url" carries the link: the first web link counts.
    if (found && isWebLink(*found)) return found;
  }
  return std::nullopt;
}

void noteChange(std::vector<std::string>& changedBy, const std::string& line) {
  for (const auto& noted : changedBy)
    if (noted == line) return;
  changedBy.push_back(line);
}

}  // namespace

CleanedLink cleanLink(std::string_view link, const std::vector<const CleaningTables*>& tables) {
  CleanedLink result{std::string(link), std::string(link), {}};
  auto parts = splitWebLink(result.after);
  if (!parts || isOnion(parts->host)) return result;

  for (int depth = 0; depth < kMaxUnwrapping && parts->hasQuery; ++depth) {
    const UnwrapEntry* entry = unwrapEntry(tables, *parts);
    if (!entry) break;
    auto inner = wrappedLink(*entry, *parts);
    if (!inner) break;
    noteChange(result.changedBy, entry->line);
    result.after = std::move(*inner);
    parts = splitWebLink(result.after);
    // Where it leads is shown, not rewritten further, when it is an onion link.
    if (isOnion(parts->host)) return result;
  }
  if (!parts->hasQuery) return result;

  std::string kept;
  bool removed = false;
  bool first = true;
  forEachParameter(parts->query, [&](std::string_view name, std::string_view, size_t start, size_t end) {
    if (const StripEntry* entry = name.empty() ? nullptr : stripEntry(tables, name)) {
      noteChange(result.changedBy, entry->line);
      removed = true;
      return;
    }
    if (!first) kept.push_back('&');
    first = false;
    kept.append(parts->query.substr(start, end - start));
  });
  if (!removed) return result;
  std::string cleaned(result.after.substr(0, parts->queryStart - 1));
  if (!kept.empty()) cleaned += "?" + kept;
  if (parts->hasFragment) cleaned += "#" + std::string(parts->fragment);
  result.after = std::move(cleaned);
  return result;
}

std::optional<std::string> unwrapEntryLine(std::string_view wrappedLink) {
  // An entry is one line of words: what holds a blank or a comment sign cannot be written as one.
  for (const char c : wrappedLink)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return std::nullopt;
  const auto parts = splitWebLink(wrappedLink);
  if (!parts || !parts->hasQuery || isOnion(parts->host)) return std::nullopt;
  std::string host;
  for (char c : parts->host) host.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  // A host with "*" would read as a pattern, naming more hosts than this one.
  if (host.find('*') != std::string::npos) return std::nullopt;
  std::optional<std::string> line;
  std::vector<std::string_view> seen;
  forEachParameter(parts->query, [&](std::string_view name, std::string_view value, size_t, size_t) {
    // Unwrapping reads a parameter's first occurrence only.
    if (line || name.empty() || std::find(seen.begin(), seen.end(), name) != seen.end()) return;
    seen.push_back(name);
    if (const auto inner = percentDecoded(value); inner && isWebLink(*inner))
      line = "unwrap " + host + " " + std::string(parts->path.empty() ? "/" : parts->path) + " " + std::string(name);
  });
  if (line && line->size() > kMaxCleaningLine) return std::nullopt;
  return line;
}

std::optional<std::string> stripEntryLine(std::string_view parameterName) {
  if (parameterName.empty() || parameterName.size() > 200) return std::nullopt;
  const std::string_view stem =
      parameterName.ends_with('*') ? parameterName.substr(0, parameterName.size() - 1) : parameterName;
  if (stem.empty()) return std::nullopt;
  for (const char c : stem)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f ||
        std::string_view("&=?#/*%").find(c) != std::string_view::npos)
      return std::nullopt;
  return "strip " + std::string(parameterName);
}

namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

UserCleaningEntry readUserCleaningEntry(const std::string& typed) {
  const std::string text = trimmed(typed);
  const std::string lower = text::lowercased(text);
  if (lower.starts_with("http://") || lower.starts_with("https://")) {
    if (auto line = unwrapEntryLine(text)) return {std::move(line), ""};
    return {std::nullopt, "This link does not carry another link to open: it is no redirect link."};
  }
  if (auto line = stripEntryLine(text)) return {std::move(line), ""};
  return {std::nullopt, "\"" + text + "\" is neither a parameter name nor a redirect link."};
}

bool addUserCleaningEntry(SettingsStore& settings, const std::string& line) {
  const auto stored = settings.sharedList(keys::linkCleaningAdditions);
  std::vector<std::string> items;
  if (stored->state == StoredList::State::list) items.assign(stored->items.begin(), stored->items.end());
  for (const auto& item : items)
    if (item == line) return true;
  // Lists the program writes begin with "", as its other lists do.
  if (items.empty()) items.emplace_back();
  items.push_back(line);
  return settings.setList(keys::linkCleaningAdditions, items);
}

LinkCleaner::LinkCleaner(SettingsStore& settings, Application& application, FileManager& files)
    : settings_(settings), application_(application), files_(files) {}

bool LinkCleaner::enabled() const { return settings_.getBool(keys::cleanLinks).value_or(false); }

std::optional<CleanedLink> LinkCleaner::cleanIfEnabled(const std::string& link) {
  if (!enabled()) return std::nullopt;
  return clean(link);
}

CleanedLink LinkCleaner::clean(const std::string& link) {
  // The user's entries come first, so that they can add to what ships.
  return cleanLink(link, {&additions(), &shipped()});
}

const CleaningTables& LinkCleaner::shipped() {
  if (!shipped_) {
    shipped_.emplace();
    // The bundle's copy is the one the user can read; the built-in one stands in
    // for a bundle that lost it.
    std::optional<FileContents> file;
    if (auto path = application_.pathForResource("LinkCleaning", "txt")) file = files_.readFile(*path, kMaxShippedFile);
    if (file && file->status == FileContents::Status::read)
      shipped_->addLines(file->bytes);
    else
      shipped_->addLines(shippedLinkCleaning());
  }
  return *shipped_;
}

const CleaningTables& LinkCleaner::additions() {
  auto list = settings_.sharedList(keys::linkCleaningAdditions);
  if (list != additionsSource_) {
    additionsSource_ = list;
    additions_ = CleaningTables();
    if (list->state == StoredList::State::list)
      for (const auto& line : list->items) additions_.addLine(line);
  }
  return additions_;
}

}  // namespace routelle
