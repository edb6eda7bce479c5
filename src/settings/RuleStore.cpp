#include "settings/RuleStore.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <string_view>

#include "settings/DomainList.h"
#include "settings/HostName.h"
#include "settings/Keys.h"
#include "settings/ReplacingAppend.h"
#include "support/Text.h"

namespace routelle {
namespace {

using State = StoredList::State;

// An unreadable stored list is left as it is rather than replaced.
bool refuseUndecodable(const SettingsStore& settings, const StoredList& list, std::string_view key) {
  if (list.state != State::undecodable) return false;
  settings.report()("\"" + std::string(key) + "\" cannot be unarchived; left unchanged");
  return true;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Host names are compared the way the web compares them: without regard to case.
bool sameHost(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

// The program's layout: the leading empty string, then the pairs.
void giveLeadingEmptyString(std::vector<std::string>& list) {
  if (firstDomainPosition(std::span<const std::string>(list)) == 0 || list.empty()) list.insert(list.begin(), "");
}

// Position of the first domain equal to the text that has its browser after it.
std::optional<size_t> findDomain(const std::vector<std::string>& list, std::string_view domain) {
  for (const auto& pair : DomainList(list))
    if (sameHost(pair.domain, domain)) return pair.position;
  return std::nullopt;
}

void erasePair(std::vector<std::string>& list, size_t at) {
  list.erase(list.begin() + static_cast<long>(at), list.begin() + static_cast<long>(at) + 2);
}

// How often each host of the added rules is added, is held by the stored list,
// and has been met; found by the host's text (lower case). Flat arrays rather
// than a node per host: an import of a quarter million rules counts them all.
class HostCounts {
 public:
  struct Count {
    std::uint32_t added = 0;
    std::uint32_t held = 0;
    std::uint32_t passed = 0;  // pairs of the list, then added rules, met so far
    std::uint32_t rule = 0;    // the first added rule of the host, whose text is the key
  };

  HostCounts() = default;
  // The rules' hosts are lower case already, and must stay in place while counted.
  explicit HostCounts(const std::vector<DomainRule>& rules)
      : rules_(&rules), slots_(std::bit_ceil(rules.size() * 2 + 2), 0) {
    counts_.reserve(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
      const std::size_t slot = slotOf(rules[i].domain);
      if (slots_[slot] == 0) {
        counts_.push_back({0, 0, 0, static_cast<std::uint32_t>(i)});
        slots_[slot] = static_cast<std::uint32_t>(counts_.size());
      }
      ++counts_[slots_[slot] - 1].added;
    }
  }

  Count* find(std::string_view host) {
    if (slots_.empty()) return nullptr;
    const std::uint32_t at = slots_[slotOf(host)];
    return at == 0 ? nullptr : &counts_[at - 1];
  }
  void restartPassing() {
    for (Count& count : counts_) count.passed = 0;
  }

 private:
  // The host's slot, or the empty one where it would go.
  std::size_t slotOf(std::string_view host) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(host)&mask;
    while (slots_[slot] != 0 && (*rules_)[counts_[slots_[slot] - 1].rule].domain != host) slot = (slot + 1) & mask;
    return slot;
  }

  const std::vector<DomainRule>* rules_ = nullptr;
  std::vector<std::uint32_t> slots_;  // a count's number + 1; 0 for none
  std::vector<Count> counts_;
};

}  // namespace

RuleStore::RuleStore(SettingsStore& settings, BrowserRegistry& registry, const UrlParser& urls)
    : settings_(settings), registry_(registry), urls_(urls) {}

std::optional<std::string> RuleStore::normaliseDomain(std::string_view typed) const {
  return parseTypedRuleText(urls_, typed).stored;
}

TypedRuleText RuleStore::readTypedDomain(std::string_view typed) const { return parseTypedRuleText(urls_, typed); }

bool RuleStore::addDomainRule(std::string_view typed, std::string_view browser) {
  auto host = normaliseDomain(typed);
  if (!host) return false;
  bool stored = false;
  settings_.transaction([&] {
    StoredList list = settings_.listToReplace(keys::domainRules);
    if (refuseUndecodable(settings_, list, keys::domainRules)) return;
    auto& items = list.items;
    giveLeadingEmptyString(items);
    if (auto i = findDomain(items, *host)) erasePair(items, *i);
    // A domain left last without its browser is no rule; dropping it keeps the pairs aligned.
    if (items.size() % 2 == 0) items.pop_back();
    items.push_back(*host);
    items.emplace_back(browser);
    settings_.setList(keys::domainRules, std::move(items));
    stored = true;
  });
  // A rule made anew opens its browser as itself until a profile is set again.
  if (stored) profiles().setProfile(RuleProfiles::domainRule(*host), "", "");
  return stored;
}

std::size_t RuleStore::addDomainRules(std::span<const DomainRule> typed) {
  return addDomainRules(std::vector<DomainRule>(typed.begin(), typed.end()));
}

std::size_t RuleStore::addDomainRules(std::vector<DomainRule>&& typed) {
  std::vector<DomainRule> hosts = std::move(typed);
  std::erase_if(hosts, [this](DomainRule& rule) {
    auto host = normaliseDomain(rule.domain);
    if (host) rule.domain = std::move(*host);
    return !host;
  });
  if (hosts.empty()) return 0;
  std::size_t stored = 0;
  settings_.transaction([&] {
    StoredList list = settings_.listToReplace(keys::domainRules);
    if (refuseUndecodable(settings_, list, keys::domainRules)) return;
    auto& items = list.items;
    giveLeadingEmptyString(items);
    if (items.size() % 2 == 0) items.pop_back();
    // Adding a host removes the earliest pair of that host left, then appends. For
    // a host the rules add `added` times and the list holds `held` times, that
    // leaves the list's pairs after its first min(added, held), and the last
    // min(added, max(held, 1)) of the added ones: counted, it is done in place.
    // Hosts compare without regard to case: lower-cased, they compare as bytes.
    HostCounts counts(hosts);
    std::string lowered;
    auto countOf = [&](const std::string& domain) -> HostCounts::Count* {
      lowered.assign(domain);
      for (char& c : lowered) c = asciiLower(c);
      return counts.find(lowered);
    };
    for (size_t i = 1; i + 1 < items.size(); i += 2)
      if (HostCounts::Count* count = countOf(items[i])) ++count->held;
    size_t kept = 1;
    for (size_t i = 1; i + 1 < items.size(); i += 2) {
      HostCounts::Count* count = countOf(items[i]);
      if (count && count->passed++ < std::min(count->added, count->held)) continue;
      if (kept != i) {
        items[kept] = std::move(items[i]);
        items[kept + 1] = std::move(items[i + 1]);
      }
      kept += 2;
    }
    items.resize(kept);
    counts.restartPassing();
    // Decided before any host moves out from under the counts' keys.
    std::vector<bool> appended(hosts.size());
    size_t appending = 0;
    for (size_t i = 0; i < hosts.size(); ++i) {
      HostCounts::Count& count = *counts.find(hosts[i].domain);
      appended[i] = count.added - count.passed++ <= std::max<std::uint32_t>(count.held, 1);
      appending += appended[i] ? 1 : 0;
    }
    counts = HostCounts();
    items.reserve(items.size() + 2 * appending);
    for (size_t i = 0; i < hosts.size(); ++i) {
      if (!appended[i]) continue;
      items.push_back(std::move(hosts[i].domain));
      items.push_back(std::move(hosts[i].browser));
    }
    stored = hosts.size();
    // Emptied by now: let go before the list is encoded and written.
    decltype(hosts)().swap(hosts);
    decltype(appended)().swap(appended);
    settings_.setList(keys::domainRules, std::move(items));
  });
  return stored;
}

bool RuleStore::removeDomainRule(std::string_view domain) {
  bool removed = false;
  settings_.transaction([&] {
    StoredList list = settings_.getList(keys::domainRules);
    if (list.state != State::list) return;
    auto i = findDomain(list.items, domain);
    if (!i) return;
    erasePair(list.items, *i);
    giveLeadingEmptyString(list.items);
    settings_.setList(keys::domainRules, std::move(list.items));
    removed = true;
  });
  if (removed) profiles().setProfile(RuleProfiles::domainRule(domain), "", "");
  return removed;
}

std::optional<AppRule> RuleStore::parseAppRule(std::string_view element) {
  // Elements without the separator (the leading empty string) are no rule.
  if (element.find(kAppRuleSeparator) == std::string_view::npos) return std::nullopt;
  auto parts = text::split(element, kAppRuleSeparator);
  return AppRule{parts.front(), parts.back()};
}

bool RuleStore::addAppRule(std::string_view application, std::string_view browser) {
  std::string entry = std::string(browser) + std::string(kAppRuleSeparator) + std::string(application);
  bool stored = false;
  settings_.transaction([&] {
    StoredList list = settings_.listToReplace(keys::appRules);
    if (refuseUndecodable(settings_, list, keys::appRules)) return;
    auto& items = list.items;
    if (items.empty()) items.push_back("");
    for (auto it = items.begin(); it != items.end(); ++it) {
      auto rule = parseAppRule(*it);
      if (rule && rule->application == application) {
        items.erase(it);
        break;
      }
    }
    items.push_back(std::move(entry));
    settings_.setList(keys::appRules, items);
    stored = true;
  });
  if (stored) profiles().setProfile(RuleProfiles::appRule(application), "", "");
  return stored;
}

std::size_t RuleStore::addAppRules(std::span<const AppRule> rules) {
  if (rules.empty()) return 0;
  std::size_t stored = 0;
  settings_.transaction([&] {
    StoredList list = settings_.listToReplace(keys::appRules);
    if (refuseUndecodable(settings_, list, keys::appRules)) return;
    if (list.items.empty()) list.items.push_back("");
    // An element is found again by the application its own text names, which
    // is not the given one when that holds the separator itself.
    auto keyOf = [](const std::string& element) -> std::optional<std::string> {
      auto rule = parseAppRule(element);
      return rule ? std::optional<std::string>(std::move(rule->application)) : std::nullopt;
    };
    ReplacingAppend<std::string> merged;
    merged.reserve(list.items.size() + rules.size());
    for (auto& element : list.items) {
      auto key = keyOf(element);
      merged.keep(std::move(element), std::move(key));
    }
    for (const auto& rule : rules) {
      std::string entry = rule.browser + std::string(kAppRuleSeparator) + rule.application;
      auto key = keyOf(entry);
      merged.add(rule.application, std::move(entry), std::move(key));
    }
    settings_.setList(keys::appRules, std::move(merged).take());
    stored = rules.size();
  });
  return stored;
}

bool RuleStore::removeAppRule(std::string_view name) {
  bool removed = false;
  settings_.transaction([&] {
    StoredList list = settings_.getList(keys::appRules);
    if (list.state != State::list) return;
    for (auto it = list.items.begin(); it != list.items.end(); ++it) {
      if (it->find(kAppRuleSeparator) == std::string::npos) continue;
      bool match = false;
      for (const auto& part : text::split(*it, kAppRuleSeparator)) match = match || part == name;
      if (!match) continue;
      list.items.erase(it);
      settings_.setList(keys::appRules, list.items);
      removed = true;
      return;
    }
  });
  if (removed) profiles().setProfile(RuleProfiles::appRule(name), "", "");
  return removed;
}

bool RuleStore::removeAppRuleElement(std::string_view element) {
  bool removed = false;
  settings_.transaction([&] {
    StoredList list = settings_.getList(keys::appRules);
    if (list.state != State::list) return;
    auto it = std::find(list.items.begin(), list.items.end(), element);
    if (it == list.items.end()) return;
    list.items.erase(it);
    settings_.setList(keys::appRules, list.items);
    removed = true;
  });
  return removed;
}

bool RuleStore::removeRule(const std::string& name) {
  return registry_.isInstalledApplication(name) ? removeAppRule(name) : removeDomainRule(name);
}

void RuleStore::setPriority(std::string_view value) {
  if (value == values::priorityDomainsFirst || value == values::priorityAppsFirst)
    settings_.setString(keys::rulePriority, value);
}

void RuleStore::togglePriority() {
  settings_.transaction([&] {
    const std::string current = settings_.ensureString(keys::rulePriority, values::priorityDomainsFirst);
    if (current == values::priorityDomainsFirst)
      settings_.setString(keys::rulePriority, values::priorityAppsFirst);
    else if (current == values::priorityAppsFirst)
      settings_.setString(keys::rulePriority, values::priorityDomainsFirst);
  });
}

std::optional<std::string> RuleStore::modifierKey(std::string_view modifier) {
  std::string key = text::lowercased(modifier);
  for (auto known : {keys::shiftRule, keys::controlRule, keys::commandRule, keys::optionRule})
    if (key == known) return key;
  return std::nullopt;
}

bool RuleStore::setModifierRule(std::string_view modifier, std::string_view target) {
  auto key = modifierKey(modifier);
  if (key) settings_.setString(*key, target);
  return key.has_value();
}

bool RuleStore::clearModifierRule(std::string_view modifier) {
  auto key = modifierKey(modifier);
  if (!key) return false;
  settings_.remove(*key);
  settings_.remove(*key + std::string(keys::backgroundSuffix));
  profiles().setProfile(RuleProfiles::modifierRule(*key), "", "");
  return true;
}

bool RuleStore::setModifierBackground(std::string_view modifier, bool flag) {
  auto key = modifierKey(modifier);
  if (!key) return false;
  const std::string backKey = *key + std::string(keys::backgroundSuffix);
  if (flag)
    settings_.setBool(backKey, true);
  else
    settings_.remove(backKey);
  return true;
}

void RuleStore::setOnionRule(std::string_view browser) { settings_.setString(keys::onionRule, browser); }
void RuleStore::clearOnionRule() { settings_.remove(keys::onionRule); }

std::vector<DomainRule> RuleStore::domainRules() const {
  std::vector<DomainRule> out;
  auto list = settings_.getList(keys::domainRules);
  for (const auto& pair : DomainList(list.items)) out.push_back({pair.domain, pair.browser});
  return out;
}

std::vector<AppRule> RuleStore::appRules() const {
  std::vector<AppRule> out;
  for (const auto& element : settings_.getList(keys::appRules).items)
    if (auto rule = parseAppRule(element)) out.push_back(*rule);
  return out;
}

}  // namespace routelle
