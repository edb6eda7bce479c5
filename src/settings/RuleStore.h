#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UrlParser.h"
#include "settings/BrowserRegistry.h"
#include "settings/DomainRuleText.h"
#include "settings/RuleProfiles.h"
#include "settings/SettingsStore.h"

namespace routelle {

struct DomainRule {
  std::string domain;
  std::string browser;
};

struct AppRule {
  std::string browser;
  std::string application;
};

inline constexpr std::string_view kAppRuleSeparator = "/*/*/*/*/";

// The user's routing rules as stored in the settings, and every change to them.
// The "domains" list is an empty string followed by domain, browser pairs; all
// lookups look at domain positions only (DomainList), so a browser name never
// matches, and compare hosts without regard to case. A list another tool wrote
// without the leading empty string is given one on write.
class RuleStore {
 public:
  RuleStore(SettingsStore& settings, BrowserRegistry& registry, const UrlParser& urls);

  // The rule text a typed domain text stands for: a host, a whole site or
  // either with a path (parseTypedRuleText, DomainRuleText.h); nothing when refused.
  std::optional<std::string> normaliseDomain(std::string_view text) const;
  // The same, with the words of a refusal.
  TypedRuleText readTypedDomain(std::string_view text) const;

  bool addDomainRule(std::string_view text, std::string_view browser);
  bool removeDomainRule(std::string_view domain);
  bool addAppRule(std::string_view application, std::string_view browser);
  bool removeAppRule(std::string_view name);
  // The first element equal to the whole rule text ("Safari/*/*/*/*/Mail").
  bool removeAppRuleElement(std::string_view element);
  bool removeRule(const std::string& name);
  // The same as addDomainRule (typed text in `domain`) / addAppRule for each
  // rule in turn, with one write per list; answer how many were stored.
  std::size_t addDomainRules(std::span<const DomainRule> typed);
  // The same, normalising the given rules where they lie.
  std::size_t addDomainRules(std::vector<DomainRule>&& typed);
  std::size_t addAppRules(std::span<const AppRule> rules);

  void setPriority(std::string_view value);
  void togglePriority();

  // Modifier names are taken without regard to case; others change nothing.
  bool setModifierRule(std::string_view modifier, std::string_view target);
  bool clearModifierRule(std::string_view modifier);
  bool setModifierBackground(std::string_view modifier, bool flag);

  void setOnionRule(std::string_view browser);
  void clearOnionRule();

  std::vector<DomainRule> domainRules() const;
  // The browser profiles kept beside the rules.
  RuleProfiles profiles() const { return RuleProfiles(settings_); }
  std::vector<AppRule> appRules() const;

  // The lower-case key of a modifier name, or nothing for other names.
  static std::optional<std::string> modifierKey(std::string_view modifier);
  static std::optional<AppRule> parseAppRule(std::string_view element);

 private:
  SettingsStore& settings_;
  BrowserRegistry& registry_;
  const UrlParser& urls_;
};

}  // namespace routelle
