#include "platform/host/PlainUrl.h"

#include <array>
#include <cstdint>

namespace routelle {
namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool isSchemeCharacter(char c) { return isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.'; }

// What a plain host holds, what ends it, and what leaves it to the general parser.
enum class HostCharacter : std::uint8_t { other, name, end };
constexpr auto kHostCharacters = [] {
  std::array<HostCharacter, 256> table{};
  for (int c = 'a'; c <= 'z'; ++c) table[static_cast<std::size_t>(c)] = HostCharacter::name;
  for (int c = 'A'; c <= 'Z'; ++c) table[static_cast<std::size_t>(c)] = HostCharacter::name;
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = HostCharacter::name;
  for (char c : std::string_view("-.")) table[static_cast<unsigned char>(c)] = HostCharacter::name;
  for (char c : std::string_view("/?#")) table[static_cast<unsigned char>(c)] = HostCharacter::end;
  return table;
}();

// unreserved, sub-delims, ":" and "@" (RFC 3986 pchar without its escapes), and
// "/" between segments; looked up, as every character of every link is.
constexpr auto kPathCharacters = [] {
  std::array<bool, 256> table{};
  for (int c = 'a'; c <= 'z'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (int c = 'A'; c <= 'Z'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (char c : std::string_view("-._~!$&'()*+,;=:@/")) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool isPathCharacter(char c) { return kPathCharacters[static_cast<unsigned char>(c)]; }

// Whether every character is one `allowed` takes or a complete percent escape.
template <typename Allowed>
bool onlyUriCharacters(std::string_view part, Allowed allowed) {
  for (std::size_t i = 0; i < part.size(); ++i) {
    if (allowed(part[i])) continue;
    if (part[i] != '%' || i + 2 >= part.size() || !isHex(part[i + 1]) || !isHex(part[i + 2])) return false;
    i += 2;
  }
  return true;
}

}  // namespace

std::optional<ParsedUrl> parsePlainUrl(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == 0 || colon == std::string_view::npos || !isAlpha(text[0])) return std::nullopt;
  const std::string_view scheme = text.substr(0, colon);
  for (char c : scheme)
    if (!isSchemeCharacter(c)) return std::nullopt;
  if (text.substr(colon + 1, 2) != "//") return std::nullopt;

  // The host ends at the path, query or fragment; one look at each character.
  const std::size_t hostStart = colon + 3;
  std::size_t hostEnd = hostStart;
  for (; hostEnd < text.size(); ++hostEnd) {
    const HostCharacter kind = kHostCharacters[static_cast<unsigned char>(text[hostEnd])];
    if (kind == HostCharacter::end) break;
    // User names, ports and IP literals are the general parser's.
    if (kind == HostCharacter::other) return std::nullopt;
  }
  const std::string_view host = text.substr(hostStart, hostEnd - hostStart);
  if (host.empty()) return std::nullopt;

  const std::string_view rest = text.substr(hostEnd);
  const std::size_t fragmentStart = std::min(rest.find('#'), rest.size());
  const std::string_view fragment = rest.substr(fragmentStart);
  const std::string_view beforeFragment = rest.substr(0, fragmentStart);
  const std::size_t queryStart = std::min(beforeFragment.find('?'), beforeFragment.size());
  const std::string_view path = beforeFragment.substr(0, queryStart);
  const std::string_view query = beforeFragment.substr(queryStart);  // with its "?"
  auto queryCharacter = [](char c) { return isPathCharacter(c) || c == '?'; };
  if (!onlyUriCharacters(path, isPathCharacter) || !onlyUriCharacters(query, queryCharacter) ||
      (!fragment.empty() && !onlyUriCharacters(fragment.substr(1), queryCharacter)))
    return std::nullopt;

  ParsedUrl out;
  out.scheme = std::string(scheme);
  out.host = std::string(host);
  out.path = std::string(path);
  if (!query.empty()) out.query = std::string(query.substr(1));
  return out;
}

}  // namespace routelle
