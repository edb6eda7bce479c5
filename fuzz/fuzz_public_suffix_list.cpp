// Arbitrary bytes as a public suffix list: reading it is total, every line is a
// name that can be asked about, and a name the list makes public stops being
// one once an exception for it is added.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/host/HostUrlParser.h"
#include "support/PublicSuffixList.h"

using namespace routelle;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const HostUrlParser urls;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const PublicSuffixList::AsciiForm ascii = [](std::string_view name) { return urls.asciiHost(name); };
  const auto list = PublicSuffixList::parse(text, ascii);
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (!list.isPublicSuffix(line)) continue;
    // A name the list can hold as a rule (no blank, no "*") stops being public
    // with an exception for it; names around it (one label under a wildcard's) are
    // asked about all the same.
    if (line.find_first_of(" \t\r\v\f*") != std::string_view::npos) continue;
    const auto excepted = PublicSuffixList::parse(std::string(text) + "\n!" + std::string(line), ascii);
    if (excepted.isPublicSuffix(line)) std::abort();
  }
  return 0;
}
