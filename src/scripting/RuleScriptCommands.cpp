#include "scripting/RuleScriptCommands.h"

#include "settings/Keys.h"
#include "settings/RuleProfiles.h"
#include "support/Text.h"

namespace routelle {

ScriptResult AddDomainScriptCommand::perform() {
  auto domain = requireText("");
  auto browser = requireText("FilePath");
  if (!domain || !browser) return 0;
  if (context_.registry.isProgramItself(*browser)) return false;
  // Stored under the name the menus list, so that the rule is found again.
  const auto browserName = context_.registry.installedDisplayName(*browser);
  if (!browserName) return 0;
  std::optional<std::string> profile;
  if (!profileDirectory(*browserName, profile)) return 0;
  const bool added = context_.rules.addDomainRule(*domain, *browserName);
  // The rule names the browser; its profile is kept beside it (and dropped with a plain rule).
  if (added)
    if (auto host = context_.rules.normaliseDomain(*domain))
      RuleProfiles(context_.settings).setProfile(RuleProfiles::domainRule(*host), *browserName, profile.value_or(""));
  postFetchMenu();
  return added;
}

ScriptResult AddAppScriptCommand::perform() {
  auto application = requireText("");
  auto browser = requireText("FilePath");
  if (!application || !browser) return 0;
  if (context_.registry.isProgramItself(*browser)) return false;
  // Display names, as the source application reports its own and the menus
  // list browsers: one rule per application, and one that fires.
  const auto applicationName = context_.registry.installedDisplayName(*application);
  const auto browserName = context_.registry.installedDisplayName(*browser);
  if (!applicationName || !browserName) return 0;
  std::optional<std::string> profile;
  if (!profileDirectory(*browserName, profile)) return 0;
  const bool added = context_.rules.addAppRule(*applicationName, *browserName);
  if (added)
    RuleProfiles(context_.settings)
        .setProfile(RuleProfiles::appRule(*applicationName), *browserName, profile.value_or(""));
  postFetchMenu();
  return added;
}

ScriptResult RemoveRuleScriptCommand::perform() {
  auto name = requireText("");
  if (!name) return 0;
  const bool removed = context_.rules.removeRule(*name);
  postFetchMenu();
  return removed;
}

ScriptResult ModifierKeyScriptCommand::perform() {
  auto modifier = requireText("");
  auto browser = requireText("FilePath");
  if (!modifier || !browser) return 0;
  if (context_.registry.isProgramItself(*browser)) return false;
  std::optional<std::string> profile;
  if (!profileDirectory(*browser, profile)) return 0;
  if (context_.rules.setModifierRule(*modifier, *browser))
    if (auto key = RuleStore::modifierKey(*modifier))
      RuleProfiles(context_.settings)
          .setProfile(RuleProfiles::modifierRule(*key), text::replaceAll(*browser, ".app", ""), profile.value_or(""));
  postFetchMenu();
  return 0;
}

ScriptResult BackModifierKeyScriptCommand::perform() {
  auto modifier = requireText("");
  auto flag = requireBool("FilePath");
  if (!modifier || !flag) return 0;
  if (!context_.rules.setModifierBackground(*modifier, *flag)) return 0;
  postFetchMenu();
  return true;
}

ScriptResult ChangePriorityScriptCommand::perform() {
  auto choice = requireText("FilePath");
  if (!choice) return 0;
  const std::string lowered = text::lowercased(*choice);
  if (lowered == "per domain")
    context_.rules.setPriority(values::priorityDomainsFirst);
  else if (lowered == "per app")
    context_.rules.setPriority(values::priorityAppsFirst);
  else
    return 0;
  postFetchMenu();
  return true;
}

}  // namespace routelle
