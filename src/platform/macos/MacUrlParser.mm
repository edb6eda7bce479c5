#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"
#include "platform/macos/SystemIdna.h"

#include <climits>
#include <memory>
#include <mutex>

#include "support/PublicSuffixList.h"

namespace routelle::macos {
namespace {

class MacUrlParser final : public UrlParser {
 public:
  std::optional<ParsedUrl> parse(std::string_view text) const override {
    NSURL* url = [NSURL URLWithString:ns(std::string(text))];
    if (!url) return std::nullopt;
    ParsedUrl out;
    out.scheme = str(url.scheme);
    if (url.host) out.host = str(url.host);
    out.path = str(url.path);
    if (url.query) out.query = str(url.query);
    return out;
  }

  std::optional<std::string> asciiHost(std::string_view host) const override {
    using namespace idna;
    if (host.empty() || host.size() > INT32_MAX / 4) return std::nullopt;
    UErrorCode status = 0;
    const std::unique_ptr<UIDNA, void (*)(UIDNA*)> converter(
        uidna_openUTS46(kNontransitionalToAscii | kCheckBidi | kCheckContextJ, &status), &uidna_close);
    if (status > 0 || !converter) return std::nullopt;
    std::string out(host.size() * 4 + 16, '\0');
    UIDNAInfo info{static_cast<std::int16_t>(sizeof(UIDNAInfo)), 0, 0, 0, 0, 0};
    const std::int32_t written =
        uidna_nameToASCII_UTF8(converter.get(), host.data(), static_cast<std::int32_t>(host.size()), out.data(),
                               static_cast<std::int32_t>(out.size()), &info, &status);
    if (status > 0 || (info.errors & ~kToleratedErrors) != 0 || written < 0) return std::nullopt;
    out.resize(static_cast<std::size_t>(written));
    return out;
  }

  bool isPublicSuffix(std::string_view asciiHost) const override { return publicSuffixes().isPublicSuffix(asciiHost); }

 private:
  // The system publishes no list of public suffixes: the bundle carries one, read
  // on first use. Without it nothing is one, and rule texts still need a dot in
  // their host, which keeps a top-level domain alone out.
  const PublicSuffixList& publicSuffixes() const {
    std::call_once(suffixesRead_, [this] {
      constexpr NSUInteger kLargestList = 16 << 20;  // the list is about 250 KB
      NSString* path = [[NSBundle mainBundle] pathForResource:@"public_suffix_list" ofType:@"dat"];
      NSData* data = path ? [NSData dataWithContentsOfFile:path] : nil;
      std::string_view text;
      if (data && data.length <= kLargestList) text = {static_cast<const char*>(data.bytes), data.length};
      suffixes_ = PublicSuffixList::parse(text, [this](std::string_view name) { return asciiHost(name); });
    });
    return *suffixes_;
  }

  mutable std::once_flag suffixesRead_;
  mutable std::optional<PublicSuffixList> suffixes_;
};

}  // namespace

std::unique_ptr<UrlParser> makeUrlParser() { return std::make_unique<MacUrlParser>(); }

}  // namespace routelle::macos
