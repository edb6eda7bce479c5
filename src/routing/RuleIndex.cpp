#include "routing/RuleIndex.h"

#include "settings/DomainList.h"
#include "settings/RuleStore.h"
#include "support/Text.h"

namespace routelle {

std::optional<std::string> DomainRuleIndex::browserFor(const std::shared_ptr<const StoredList>& domains,
                                                       const std::string& host) {
  if (domains != indexed_) {
    positions_.clear();
    // Rules store hosts in the form links are read in (comparableHost); a
    // list written elsewhere may still differ in case or by the root's dot.
    for (const auto& pair : DomainList(domains->items)) {
      std::string_view domain = pair.domain;
      if (domain.ends_with('.')) domain.remove_suffix(1);
      positions_.try_emplace(text::lowercased(domain), pair.position);
    }
    indexed_ = domains;
  }
  auto hit = positions_.find(host);
  if (hit == positions_.end()) return std::nullopt;
  return indexed_->items[hit->second + 1];
}

std::optional<std::string> AppRuleIndex::browserFor(const std::shared_ptr<const StoredList>& perApp,
                                                    const std::string& application) {
  if (perApp != indexed_) {
    browsers_.clear();
    for (const auto& element : perApp->items) {
      auto parts = text::split(element, kAppRuleSeparator);
      browsers_.try_emplace(parts.back(), parts.front());
    }
    indexed_ = perApp;
  }
  auto hit = browsers_.find(application);
  if (hit == browsers_.end()) return std::nullopt;
  return hit->second;
}

}  // namespace routelle
