#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace routelle {

// Limits of what a rule file may be; every file the program writes stays within
// them (an export that would not is refused). 128 MiB is about two million rules,
// more than a preferences file can hold.
inline constexpr std::size_t kRuleFileMaxBytes = std::size_t{128} << 20;
inline constexpr int kRuleFileMaxDepth = 32;
// A site, application or browser name longer than this is no name: such rules are
// neither written nor read. Written with every character escaped, the two names of
// a rule still fit in one tag.
inline constexpr std::size_t kRuleTextMaxBytes = 4096;
// The XML parser checks a tag's attributes against each other, in time that grows
// with the square of their number; a rule file's tags hold two.
inline constexpr std::size_t kRuleFileMaxTagBytes = std::size_t{64} << 10;
static_assert(kRuleTextMaxBytes * 2 * 6 + 64 < kRuleFileMaxTagBytes, "\"&quot;\" is the longest escape");

enum class RuleFileEnd { complete, notWellFormed, tooLarge, tooDeep, unsupported, unreadable };

struct RuleFileOutcome {
  RuleFileEnd end = RuleFileEnd::complete;
  std::string message;  // one line fit for standard error; empty when complete
};

// Called in document order for every accepted element, while the file is still
// being read; the texts are valid only during the call.
struct RuleFileHandlers {
  std::function<void(std::string_view site, std::string_view browser)> domainRule;
  std::function<void(std::string_view application, std::string_view browser)> appRule;
  // Right after the rule, when its element names a profile of the browser
  // ("profile", which older files lack).
  std::function<void(bool domainRule, std::string_view first, std::string_view browser, std::string_view profile)>
      profile;
};

// Reads a rule file: every element named exactly "domain" (with non-empty
// "site" and "browser") or "app" (with non-empty "app" and "browser"), each of
// at most kRuleTextMaxBytes, at any
// depth, is reported; names are compared as written, so a prefixed name or
// another letter case does not count. The file is taken as UTF-8 whatever it
// declares; document type and entity declarations are refused, so no entity is
// ever defined, loaded or expanded, and nothing is fetched from the network.
// A document that ends early still has every element before the fault reported.
RuleFileOutcome readRuleFile(std::string_view document, const RuleFileHandlers& handlers);

}  // namespace routelle
