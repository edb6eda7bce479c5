#include "platform/host/HostUrlParser.h"

#include <libpsl.h>
#include <unicode/uidna.h>
#include <uriparser/Uri.h>

#include <climits>
#include <memory>

#include "platform/host/PlainUrl.h"

namespace routelle {
namespace {

std::string range(const UriTextRangeA& r) {
  if (!r.first || !r.afterLast) return {};
  return std::string(r.first, static_cast<size_t>(r.afterLast - r.first));
}

bool present(const UriTextRangeA& r) { return r.first != nullptr; }

// What IDNA may report that still leaves a name links can carry (browsers let
// them pass); the caller judges lengths and empty labels itself.
constexpr std::uint32_t kToleratedIdnaErrors = UIDNA_ERROR_EMPTY_LABEL | UIDNA_ERROR_LABEL_TOO_LONG |
                                               UIDNA_ERROR_DOMAIN_NAME_TOO_LONG | UIDNA_ERROR_LEADING_HYPHEN |
                                               UIDNA_ERROR_TRAILING_HYPHEN | UIDNA_ERROR_HYPHEN_3_4;

struct IdnaCloser {
  void operator()(UIDNA* idna) const { uidna_close(idna); }
};

}  // namespace

std::optional<ParsedUrl> HostUrlParser::parse(std::string_view text) const {
  // Most links are plain: read without the general parser's allocations.
  if (auto plain = parsePlainUrl(text)) return plain;
  return parseGenerally(text);
}

std::optional<ParsedUrl> HostUrlParser::parseGenerally(std::string_view text) {
  UriUriA uri;
  const char* errorPos = nullptr;
  if (uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &errorPos) != URI_SUCCESS) return std::nullopt;
  ParsedUrl out;
  out.scheme = range(uri.scheme);
  if (present(uri.hostText)) {
    std::string host = range(uri.hostText);
    // A URL with an authority but an empty host has no host, as on the platform.
    if (!host.empty() || uri.hostData.ip6 || uri.hostData.ipFuture.first) out.host = std::move(host);
  }
  // Sized once: every link is parsed on its way.
  auto length = [](const UriTextRangeA& r) {
    return r.first && r.afterLast ? static_cast<std::size_t>(r.afterLast - r.first) : 0;
  };
  std::size_t pathLength = 0;
  for (const UriPathSegmentA* seg = uri.pathHead; seg; seg = seg->next) pathLength += 1 + length(seg->text);
  out.path.reserve(pathLength);
  for (const UriPathSegmentA* seg = uri.pathHead; seg; seg = seg->next) {
    out.path += '/';
    out.path.append(seg->text.first ? seg->text.first : "", length(seg->text));
  }
  if (present(uri.query)) out.query = range(uri.query);
  uriFreeUriMembersA(&uri);
  return out;
}

std::optional<std::string> HostUrlParser::asciiHost(std::string_view host) const {
  if (host.empty() || host.size() > INT32_MAX / 4) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UIDNA, IdnaCloser> idna(
      uidna_openUTS46(UIDNA_NONTRANSITIONAL_TO_ASCII | UIDNA_CHECK_BIDI | UIDNA_CHECK_CONTEXTJ, &status));
  if (U_FAILURE(status)) return std::nullopt;
  const auto length = static_cast<int32_t>(host.size());
  std::string out(host.size() * 4 + 16, '\0');
  UIDNAInfo info = UIDNA_INFO_INITIALIZER;
  const int32_t written = uidna_nameToASCII_UTF8(idna.get(), host.data(), length, out.data(),
                                                 static_cast<int32_t>(out.size()), &info, &status);
  if (U_FAILURE(status) || (info.errors & ~kToleratedIdnaErrors) != 0) return std::nullopt;
  out.resize(static_cast<std::size_t>(written));
  return out;
}

bool HostUrlParser::isPublicSuffix(std::string_view asciiHost) const {
  // Both sections of the list count (a shared hosting suffix is as public as
  // "co.uk"), but not the implicit rule that makes any unknown label one.
  const std::string host(asciiHost);
  return psl_is_public_suffix2(psl_builtin(), host.c_str(), PSL_TYPE_ANY | PSL_TYPE_NO_STAR_RULE) != 0;
}

}  // namespace routelle
