#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace routelle {

// Limits of what a rule file may be. An export of 10,000 domain rules is
// about 600 KB and three elements deep.
inline constexpr std::size_t kRuleFileMaxBytes = std::size_t{8} * 1024 * 1024;
inline constexpr int kRuleFileMaxDepth = 32;
// The XML parser checks a tag's attributes against each other, in time that
// grows with the square of their number; a rule file's tags hold two.
inline constexpr int kRuleFileMaxAttributesPerTag = 256;

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
};

// Reads a rule file: every element named exactly "domain" (with non-empty
// "site" and "browser") or "app" (with non-empty "app" and "browser"), at any
// depth, is reported; names are compared as written, so a prefixed name or
// another letter case does not count. The file is taken as UTF-8 whatever it
// declares; document type declarations are refused, so no entity is ever
// defined, loaded or expanded, and nothing is fetched from the network.
// A document that ends early still has every element before the fault reported.
RuleFileOutcome readRuleFile(std::string_view document, const RuleFileHandlers& handlers);

}  // namespace routelle
