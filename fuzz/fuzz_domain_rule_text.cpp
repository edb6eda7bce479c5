// Arbitrary bytes as typed rule texts and as the link looked up: reading a typed
// text is total, what it stores reads back the same and stores again unchanged,
// and the index's deciding rule is the first it explains.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "platform/host/HostUrlParser.h"
#include "routing/RuleIndex.h"
#include "settings/DomainRuleText.h"

using namespace routelle;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const HostUrlParser urls;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // Lines: typed rule texts; the last line is the link's host, a blank, its path.
  std::vector<std::string> items{""};
  std::string_view rest = input;
  std::string_view last;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    last = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const auto typed = parseTypedRuleText(urls, last);
    if (typed.stored && !typed.refusal.empty()) std::abort();
    // Raw texts go in too: a stored list may hold anything another tool wrote.
    items.emplace_back(typed.stored ? *typed.stored : std::string(last));
    items.emplace_back("Browser" + std::to_string(items.size()));
    if (!typed.stored) continue;
    if (!readStoredRuleText(*typed.stored)) std::abort();
    if (parseTypedRuleText(urls, *typed.stored).stored != typed.stored) std::abort();
  }
  const std::size_t blank = last.find(' ');
  const std::string_view host = last.substr(0, blank);
  const std::string_view path = blank == std::string_view::npos ? std::string_view() : last.substr(blank + 1);
  const auto list = StoredListView::holding(std::move(items));
  DomainRuleIndex index;
  const auto browser = index.browserFor(list, host, path);
  const auto matches = index.matchesFor(list, host, path);
  if (browser.has_value() != !matches.empty()) std::abort();
  if (browser && *browser != list->items[matches.front().position + 1]) std::abort();
  return 0;
}
