#include "exchange/RuleExporter.h"

#include <string>
#include <unordered_map>

namespace routelle {
namespace {

// The workspace is asked once per browser name: a list names few browsers.
class Installed {
 public:
  Installed(const BrowserRegistry& registry, Workspace& workspace) : registry_(registry), workspace_(workspace) {}

  bool application(const std::string& name) {
    return remember(named_, name, [&] { return workspace_.fullPathForApplication(name).has_value(); });
  }
  bool applicationWithIdentifier(const std::string& name) {
    return remember(identified_, name, [&] {
      auto identifier = registry_.bundleIdentifier(name);
      return identifier && registry_.pathForIdentifier(*identifier).has_value();
    });
  }

 private:
  template <typename Lookup>
  static bool remember(std::unordered_map<std::string, bool>& known, const std::string& name, Lookup lookup) {
    auto [entry, added] = known.try_emplace(name, false);
    if (added) entry->second = lookup();
    return entry->second;
  }

  const BrowserRegistry& registry_;
  Workspace& workspace_;
  std::unordered_map<std::string, bool> named_;
  std::unordered_map<std::string, bool> identified_;
};

}  // namespace

ExportableRules exportableRules(const RuleStore& rules, const BrowserRegistry& registry, Workspace& workspace) {
  Installed installed(registry, workspace);
  ExportableRules out;
  for (auto& rule : rules.domainRules())
    if (!rule.domain.empty() && installed.application(rule.browser)) out.domains.push_back(std::move(rule));
  for (auto& rule : rules.appRules())
    if (installed.applicationWithIdentifier(rule.browser)) out.apps.push_back(std::move(rule));
  return out;
}

}  // namespace routelle
