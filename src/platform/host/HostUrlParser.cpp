#include "platform/host/HostUrlParser.h"

#include <uriparser/Uri.h>

namespace routelle {
namespace {

std::string range(const UriTextRangeA& r) {
  if (!r.first || !r.afterLast) return {};
  return std::string(r.first, static_cast<size_t>(r.afterLast - r.first));
}

bool present(const UriTextRangeA& r) { return r.first != nullptr; }

}  // namespace

std::optional<ParsedUrl> HostUrlParser::parse(std::string_view text) const {
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
  for (const UriPathSegmentA* seg = uri.pathHead; seg; seg = seg->next) {
    out.path += "/";
    out.path += range(seg->text);
  }
  if (present(uri.query)) out.query = range(uri.query);
  uriFreeUriMembersA(&uri);
  return out;
}

}  // namespace routelle
