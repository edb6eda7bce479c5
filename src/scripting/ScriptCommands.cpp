#include "scripting/ScriptCommands.h"

#include <functional>
#include <utility>

#include "scripting/BrowserScriptCommands.h"
#include "scripting/PreferenceScriptCommands.h"
#include "scripting/RuleScriptCommands.h"

namespace routelle {
namespace {

using Factory = std::unique_ptr<ScriptCommand> (*)(ScriptContext&);

template <typename T>
std::unique_ptr<ScriptCommand> make(ScriptContext& context) {
  return std::make_unique<T>(context);
}

const std::vector<std::pair<std::string_view, Factory>>& table() {
  static const std::vector<std::pair<std::string_view, Factory>> commands{
      {"AddDomainScriptCommand", make<AddDomainScriptCommand>},
      {"ShowBrowsersListCommandScript", make<ShowBrowsersListCommandScript>},
      {"AddAppScriptCommand", make<AddAppScriptCommand>},
      {"SaveScriptCommand", make<SaveScriptCommand>},
      {"BackModifierKeyScriptCommand", make<BackModifierKeyScriptCommand>},
      {"RemoveBrowserScriptCommand", make<RemoveBrowserScriptCommand>},
      {"RemoveRuleScriptCommand", make<RemoveRuleScriptCommand>},
      {"ModifierKeyScriptCommand", make<ModifierKeyScriptCommand>},
      {"ChangePriorityScriptCommand", make<ChangePriorityScriptCommand>},
      {"EnablePreferenceScriptCommand", make<EnablePreferenceScriptCommand>},
      {"DisablePreferenceScriptCommand", make<DisablePreferenceScriptCommand>},
      {"AddCleaningEntryScriptCommand", make<AddCleaningEntryScriptCommand>},
      {"CheckForUpdatesCommandScript", make<CheckForUpdatesCommandScript>},
      {"UseTheOpenedBrowser", make<UseTheOpenedBrowser>},
      {"ImportCommandScript", make<ImportCommandScript>},
      {"AddBrowserScriptCommand", make<AddBrowserScriptCommand>},
      {"ExportCommandScript", make<ExportCommandScript>},
      {"ExplainScriptCommand", make<ExplainScriptCommand>},
  };
  return commands;
}

}  // namespace

std::unique_ptr<ScriptCommand> makeScriptCommand(std::string_view className, ScriptContext& context) {
  for (const auto& [name, factory] : table())
    if (name == className) return factory(context);
  return nullptr;
}

const std::vector<std::string_view>& scriptCommandClassNames() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> out;
    for (const auto& entry : table()) out.push_back(entry.first);
    return out;
  }();
  return names;
}

}  // namespace routelle
