#pragma once
#include <concepts>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Keys.h"
#include "settings/SettingsStore.h"

namespace routelle {

// The browser profile a rule names, kept beside the rules: the rule itself
// still names the browser, so a reader that knows nothing of profiles opens
// the right browser. Stored under "browserProfiles" as an archived list: "",
// then (rule, browser, profile directory) triples. A profile applies only while
// its rule still names the same browser.
class RuleProfiles {
 public:
  explicit RuleProfiles(SettingsStore& settings) : settings_(settings) {}

  // Rule names: "domain HOST" (lower case, no final dot), "app NAME",
  // "modifier KEY", "onion", "default".
  static std::string domainRule(std::string_view host);
  static std::string appRule(std::string_view application) { return "app " + std::string(application); }
  static std::string modifierRule(std::string_view key) { return "modifier " + std::string(key); }
  static constexpr std::string_view onionRule = "onion";
  static constexpr std::string_view defaultRule = "default";

  std::optional<std::string> profileFor(std::string_view rule, std::string_view browser) const {
    return profileFor([rule] { return rule; }, browser);
  }
  // The same, with the rule's name made by `ruleName()` only when some rule
  // keeps a profile: every link routed asks, and most users keep none.
  template <typename RuleName>
  requires std::invocable<RuleName> std::optional<std::string> profileFor(RuleName ruleName, std::string_view browser)
  const {
    const auto list = settings_.sharedList(keys::ruleProfiles);
    if (list->state != StoredList::State::list || list->items.size() < 3) return std::nullopt;
    return profileIn(list->items, ruleName(), browser);
  }
  // An empty profile removes the rule's profile.
  bool setProfile(std::string_view rule, std::string_view browser, std::string_view profile);

  struct Entry {
    std::string rule, browser, profile;
  };
  std::vector<Entry> entries() const;

 private:
  static std::optional<std::string> profileIn(std::span<const std::string_view> items, std::string_view rule,
                                              std::string_view browser);

  SettingsStore& settings_;
};

}  // namespace routelle
