#include "scripting/RuleScriptCommands.h"

#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {

ScriptResult AddDomainScriptCommand::performDefaultImplementation() {
  auto domain = requireText("");
  auto browser = requireText("FilePath");
  if (!domain || !browser) return 0;
  if (!context_.registry.isInstalledApplication(*browser)) return 0;
  const bool added = context_.rules.addDomainRule(*domain, *browser);
  postFetchMenu();
  return added;
}

ScriptResult AddAppScriptCommand::performDefaultImplementation() {
  auto application = requireText("");
  auto browser = requireText("FilePath");
  if (!application || !browser) return 0;
  if (!context_.registry.isInstalledApplication(*application) || !context_.registry.isInstalledApplication(*browser))
    return 0;
  const bool added = context_.rules.addAppRule(*application, *browser);
  postFetchMenu();
  return added;
}

ScriptResult RemoveRuleScriptCommand::performDefaultImplementation() {
  auto name = requireText("");
  if (!name) return 0;
  const bool removed = context_.rules.removeRule(*name);
  postFetchMenu();
  return removed;
}

ScriptResult ModifierKeyScriptCommand::performDefaultImplementation() {
  auto modifier = requireText("");
  auto browser = requireText("FilePath");
  if (!modifier || !browser) return 0;
  context_.rules.setModifierRule(*modifier, *browser);
  postFetchMenu();
  return 0;
}

ScriptResult BackModifierKeyScriptCommand::performDefaultImplementation() {
  auto modifier = requireText("");
  auto flag = requireBool("FilePath");
  if (!modifier || !flag) return 0;
  if (!context_.rules.setModifierBackground(*modifier, *flag)) return 0;
  postFetchMenu();
  return true;
}

ScriptResult ChangePriorityScriptCommand::performDefaultImplementation() {
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
