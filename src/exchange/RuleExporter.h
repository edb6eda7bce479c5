#pragma once
#include <vector>

#include "platform/Workspace.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"

namespace routelle {

struct ExportableRules {
  std::vector<DomainRule> domains;
  std::vector<AppRule> apps;
};

// The stored rules whose browser is installed, in the stored order. A domain
// rule needs an application of the browser's name; a per-application rule
// also needs that application's bundle identifier to lead back to an
// application. The others stay stored but are left out.
ExportableRules exportableRules(const RuleStore& rules, const BrowserRegistry& registry, Workspace& workspace);

}  // namespace routelle
