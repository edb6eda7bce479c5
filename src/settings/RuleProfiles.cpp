#include "settings/RuleProfiles.h"

#include "settings/Keys.h"

namespace routelle {

std::string RuleProfiles::domainRule(std::string_view host) {
  while (host.ends_with('.')) host.remove_suffix(1);
  constexpr std::string_view kPrefix = "domain ";
  std::string rule;
  rule.reserve(kPrefix.size() + host.size());
  rule.append(kPrefix);
  for (char c : host) rule.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  return rule;
}

std::vector<RuleProfiles::Entry> RuleProfiles::entries() const {
  std::vector<Entry> out;
  const auto list = settings_.sharedList(keys::ruleProfiles);
  if (list->state != StoredList::State::list) return out;
  const auto& items = list->items;
  // The leading "" of a list the program made is skipped; a list without it reads the same.
  const size_t first = !items.empty() && items.front().empty() ? 1 : 0;
  for (size_t i = first; i + 2 < items.size(); i += 3)
    out.push_back({std::string(items[i]), std::string(items[i + 1]), std::string(items[i + 2])});
  return out;
}

std::optional<std::string> RuleProfiles::profileIn(std::span<const std::string_view> items, std::string_view rule,
                                                   std::string_view browser) {
  const size_t first = !items.empty() && items.front().empty() ? 1 : 0;
  for (size_t i = first; i + 2 < items.size(); i += 3)
    if (items[i] == rule) return items[i + 1] == browser ? std::optional(std::string(items[i + 2])) : std::nullopt;
  return std::nullopt;
}

bool RuleProfiles::setProfile(std::string_view rule, std::string_view browser, std::string_view profile) {
  bool ok = true;
  settings_.transaction([&] {
    std::vector<std::string> list{""};
    bool had = false;
    for (auto& e : entries()) {
      if (e.rule != rule)
        list.insert(list.end(), {e.rule, e.browser, e.profile});
      else
        had = true;
    }
    // A rule without a profile leaves no trace in the preferences.
    if (!had && profile.empty()) return;
    if (!profile.empty()) list.insert(list.end(), {std::string(rule), std::string(browser), std::string(profile)});
    ok = settings_.setList(keys::ruleProfiles, list);
  });
  return ok;
}

}  // namespace routelle
