// Feeds arbitrary bytes to the rule file reader. Whatever it reports must be
// texts the writer can carry, and writing them back and reading the result
// must give the same rules again, complete. Read in pieces, the same bytes give
// the same rules and the same end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/RuleFileParser.h"
#include "exchange/RuleFileReader.h"
#include "exchange/RuleFileWriter.h"

namespace {

using namespace routelle;

struct Collected {
  std::vector<DomainRule> domains;
  std::vector<AppRule> apps;
  // Each rule's profile ("" for none), by its position in its list.
  std::vector<std::string> domainProfiles, appProfiles;

  RuleFileHandlers handlers() {
    return {[this](std::string_view site, std::string_view browser) {
              domains.push_back({std::string(site), std::string(browser)});
              domainProfiles.emplace_back();
            },
            [this](std::string_view app, std::string_view browser) {
              apps.push_back({std::string(browser), std::string(app)});
              appProfiles.emplace_back();
            },
            [this](bool domainRule, std::string_view, std::string_view, std::string_view profile) {
              // Reported right after its rule.
              auto& profiles = domainRule ? domainProfiles : appProfiles;
              if (profiles.empty() || profile.empty() || !profiles.back().empty()) __builtin_trap();
              profiles.back() = std::string(profile);
            }};
  }
};

bool sameRules(const Collected& a, const Collected& b) {
  auto sameDomains = [](const DomainRule& x, const DomainRule& y) {
    return x.domain == y.domain && x.browser == y.browser;
  };
  auto sameApps = [](const AppRule& x, const AppRule& y) {
    return x.application == y.application && x.browser == y.browser;
  };
  return a.domains.size() == b.domains.size() && a.apps.size() == b.apps.size() &&
         a.domainProfiles == b.domainProfiles && a.appProfiles == b.appProfiles &&
         std::equal(a.domains.begin(), a.domains.end(), b.domains.begin(), sameDomains) &&
         std::equal(a.apps.begin(), a.apps.end(), b.apps.begin(), sameApps);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Collected first;
  const RuleFileOutcome outcome =
      readRuleFile(std::string_view(reinterpret_cast<const char*>(data), size), first.handlers());
  if ((outcome.end == RuleFileEnd::complete) != outcome.message.empty()) __builtin_trap();
  for (const auto& rule : first.domains)
    if (rule.domain.empty() || rule.browser.empty()) __builtin_trap();
  for (const auto& rule : first.apps)
    if (rule.application.empty() || rule.browser.empty()) __builtin_trap();

  // Cut where the first byte says: inside a byte order mark, or anywhere else.
  if (size > 0) {
    const std::size_t cut = data[0] % size;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Collected pieces;
    RuleFileParser parser(pieces.handlers());
    parser.feed(bytes.substr(0, cut));
    parser.feed(bytes.substr(cut, 1));
    parser.feed(bytes.substr(cut + std::min<std::size_t>(1, size - cut)));
    if (parser.finish().end != outcome.end || !sameRules(first, pieces)) __builtin_trap();
  }

  // The writer keeps the file's order within each list; the round trip then
  // reads domains first, as they are written.
  // The writer asks for each rule's profile in the order it writes them.
  std::size_t domainAt = 0, appAt = 0;
  const auto written =
      writeRuleFile(first.domains, first.apps, [&](bool domainRule, const std::string&, const std::string&) {
        return domainRule ? first.domainProfiles.at(domainAt++) : first.appProfiles.at(appAt++);
      });
  if (!written || written->leftOut != 0) __builtin_trap();
  Collected again;
  if (readRuleFile(written->document, again.handlers()).end != RuleFileEnd::complete) __builtin_trap();
  if (!sameRules(first, again)) __builtin_trap();
  return 0;
}
