#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

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
};

}  // namespace

std::unique_ptr<UrlParser> makeUrlParser() { return std::make_unique<MacUrlParser>(); }

}  // namespace routelle::macos
