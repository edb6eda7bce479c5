#include "platform/host/LinkScanner.h"

#include "platform/host/LinkCharacters.h"

namespace routelle {
namespace {

using namespace linkchars;

// Whether `t` holds `lowercaseWord` at `at`, in any ASCII case.
bool hasWordAt(std::u32string_view t, std::size_t at, std::string_view lowercaseWord) {
  if (at + lowercaseWord.size() > t.size()) return false;
  for (std::size_t k = 0; k < lowercaseWord.size(); ++k) {
    char32_t c = t[at + k];
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    if (c != static_cast<unsigned char>(lowercaseWord[k])) return false;
  }
  return true;
}

constexpr std::string_view kSchemes[] = {"http", "https", "ftp"};

}  // namespace

std::vector<LinkScanner::Span> LinkScanner::scan(std::u32string_view t) const {
  std::vector<Span> links;
  for (std::size_t i = 0; i < t.size();) {
    if (!is(t[i], letterOrDigit) || (i > 0 && is(t[i - 1], word))) {
      ++i;
      continue;
    }
    const Token token = tokenAt(t, i);
    if (!token.couldBeLink(t)) {
      i = token.end;
      continue;
    }
    if (const auto end = linkAt(t, i, token)) {
      links.push_back({i, *end});
      i = *end;
    } else {
      // Whatever starts inside the token is glued to it; even a scheme ("v.http://")
      // is then taken as part of the word.
      i = token.end;
    }
  }
  return links;
}

LinkScanner::Token LinkScanner::tokenAt(std::u32string_view t, std::size_t start) {
  Token token;
  std::size_t k = start;
  while (k < t.size() && isAsciiLetter(t[k])) ++k;
  token.lettersEnd = k;
  bool dotted = false;
  for (; k < t.size() && is(t[k], localPart); ++k) dotted |= t[k] == '.';
  token.end = k;
  token.dotted = dotted;
  return token;
}

// A scheme only needs a word break before it ("url=http://..."); the other forms
// also need a start that nothing glues to ("a/b.com", "v1.2" are none).
std::optional<std::size_t> LinkScanner::linkAt(std::u32string_view t, std::size_t start, const Token& token) const {
  if (token.lettersEnd < t.size() && t[token.lettersEnd] == ':') {
    if (auto end = schemeLink(t, start, token.lettersEnd)) return end;
    if (auto end = mailtoLink(t, start, token.lettersEnd)) return end;
  }
  if (start > 0 && is(t[start - 1], glue)) return std::nullopt;
  if (token.end < t.size() && t[token.end] == '@') return emailLink(t, token.end);
  if (token.dotted) return hostLink(t, start);
  return std::nullopt;
}

// `schemeEnd` is where the letters from `start` end, at a ":".
std::optional<std::size_t> LinkScanner::schemeLink(std::u32string_view t, std::size_t start,
                                                   std::size_t schemeEnd) const {
  bool known = false;
  for (const auto scheme : kSchemes)
    known = known || (schemeEnd - start == scheme.size() && hasWordAt(t, start, scheme));
  if (!known || !hasWordAt(t, schemeEnd, "://")) return std::nullopt;
  const std::size_t authorityBegin = schemeEnd + 3;
  std::size_t end = authorityBegin;
  while (end < t.size() && is(t[end], authority)) ++end;
  if (end < t.size() && startsPath(t[end])) end = pathEnd(t, end);
  end = withoutTrailingPunctuation(t, authorityBegin, end);
  if (!hostIsNamed(t, authorityBegin, end) || !endsCleanly(t, end)) return std::nullopt;
  return end;
}

std::optional<std::size_t> LinkScanner::mailtoLink(std::u32string_view t, std::size_t start,
                                                   std::size_t schemeEnd) const {
  if (schemeEnd - start != 6 || !hasWordAt(t, start, "mailto")) return std::nullopt;
  const std::size_t address = schemeEnd + 1;
  if (address >= t.size() || !is(t[address], letterOrDigit)) return std::nullopt;
  std::size_t at = address;
  while (at < t.size() && is(t[at], localPart)) ++at;
  if (at >= t.size() || t[at] != '@') return std::nullopt;
  return emailLink(t, at);
}

// `at` is the "@" after a local part that begins with a letter or digit.
std::optional<std::size_t> LinkScanner::emailLink(std::u32string_view t, std::size_t at) const {
  if (t[at - 1] == '.' || at + 1 >= t.size() || !is(t[at + 1], letterOrDigit)) return std::nullopt;
  const auto domain = labelsAt(t, at + 1);
  if (!domain || domain->count < 2 || !hasRealTopLevel(t, *domain) || !endsCleanly(t, domain->end)) return std::nullopt;
  return domain->end;
}

std::optional<std::size_t> LinkScanner::hostLink(std::u32string_view t, std::size_t start) const {
  const auto host = labelsAt(t, start);
  if (!host || host->count < 2) return std::nullopt;
  const bool www = host->firstEnd - start == 3 && hasWordAt(t, start, "www");
  if (!www && !hasRealTopLevel(t, *host)) return std::nullopt;
  std::size_t end = portEnd(t, host->end);
  if (end < t.size() && startsPath(t[end])) end = withoutTrailingPunctuation(t, end, pathEnd(t, end));
  if (!endsCleanly(t, end)) return std::nullopt;
  return end;
}

bool LinkScanner::hasRealTopLevel(std::u32string_view t, const Labels& labels) const {
  const auto last = t.substr(labels.lastBegin, labels.end - labels.lastBegin);
  return isTopLevel_(last);
}

// Dot-separated labels from `start`; nothing when a label begins or ends with a hyphen.
std::optional<LinkScanner::Labels> LinkScanner::labelsAt(std::u32string_view t, std::size_t start) {
  Labels labels;
  std::size_t k = start;
  for (;;) {
    const std::size_t begin = k;
    while (k < t.size() && is(t[k], label)) ++k;
    if (k == begin || t[begin] == '-' || t[k - 1] == '-') return std::nullopt;
    if (++labels.count == 1) labels.firstEnd = k;
    labels.lastBegin = begin;
    if (k + 1 < t.size() && t[k] == '.' && is(t[k + 1], label)) {
      ++k;
      continue;
    }
    labels.end = k;
    return labels;
  }
}

// A path, query or fragment; a closing bracket without its opening one ends it.
std::size_t LinkScanner::pathEnd(std::u32string_view t, std::size_t from) {
  std::size_t openParens = 0;
  std::size_t openBrackets = 0;
  std::size_t k = from;
  for (; k < t.size() && is(t[k], path); ++k) {
    const char32_t c = t[k];
    if (c == '(') ++openParens;
    if (c == '[') ++openBrackets;
    if (c == ')' && openParens-- == 0) break;
    if (c == ']' && openBrackets-- == 0) break;
  }
  return k;
}

// After a host: ":" and up to five digits when they end the number; else `from`.
std::size_t LinkScanner::portEnd(std::u32string_view t, std::size_t from) {
  if (from >= t.size() || t[from] != ':') return from;
  std::size_t k = from + 1;
  while (k < t.size() && k - from <= 5 && isAsciiDigit(t[k])) ++k;
  if (k == from + 1 || (k < t.size() && is(t[k], word))) return from;
  return k;
}

std::size_t LinkScanner::withoutTrailingPunctuation(std::u32string_view t, std::size_t floor, std::size_t end) {
  while (end > floor && is(t[end - 1], trailing)) --end;
  return end;
}

// The host of an authority in [begin, end): after any user part, it must begin
// with a letter or digit, or be a bracketed IP literal.
bool LinkScanner::hostIsNamed(std::u32string_view t, std::size_t begin, std::size_t end) {
  std::size_t authorityEnd = begin;
  while (authorityEnd < end && !startsPath(t[authorityEnd])) ++authorityEnd;
  const auto authorityText = t.substr(begin, authorityEnd - begin);
  const std::size_t at = authorityText.rfind(U'@');
  const auto host = at == std::u32string_view::npos ? authorityText : authorityText.substr(at + 1);
  if (host.empty()) return false;
  if (host.front() == '[') return host.find(U']') != std::u32string_view::npos;
  return is(host.front(), letterOrDigit);
}

bool LinkScanner::endsCleanly(std::u32string_view t, std::size_t end) {
  return end >= t.size() || !(is(t[end], word) || t[end] == '@');
}

}  // namespace routelle
