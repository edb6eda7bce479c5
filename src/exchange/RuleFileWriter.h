#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "settings/RuleStore.h"

namespace routelle {

struct RuleFileText {
  std::string document;  // UTF-8 XML, ready to be written to a file
  // Rules left out because one of their texts is not valid UTF-8, holds a
  // character XML cannot carry (a control character), or is longer than any
  // name (kRuleTextMaxBytes): written, they would not read back.
  std::size_t leftOut = 0;
};

// The rule file holding the given rules in the given order: root "lists", then
// "domains" with one "domain" (site, browser) per domain rule, then "apps" with
// one "app" (app, browser) per per-application rule; both lists always present.
// Nothing only when the XML writer itself fails (out of memory).
// The profile kept beside a rule (domain rule: site; app rule: application), or "".
using RuleProfileLookup =
    std::function<std::string(bool domainRule, const std::string& first, const std::string& browser)>;

// Each rule's profile, when the lookup names one, goes in a "profile" attribute
// that readers without profiles pass over.
std::optional<RuleFileText> writeRuleFile(std::span<const DomainRule> domains, std::span<const AppRule> apps,
                                          const RuleProfileLookup& profileOf = {});

}  // namespace routelle
