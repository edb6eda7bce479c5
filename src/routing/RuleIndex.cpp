#include "routing/RuleIndex.h"

#include "settings/RuleStore.h"
#include "support/Text.h"

namespace routelle {

std::optional<std::string> DomainRuleIndex::browserFor(const std::shared_ptr<const StoredList>& domains,
                                                       const std::string& host) {
  if (domains != indexed_) {
    positions_.clear();
    for (size_t i = 1; i + 1 < domains->items.size(); i += 2)
      positions_.try_emplace(text::lowercased(domains->items[i]), i);
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
