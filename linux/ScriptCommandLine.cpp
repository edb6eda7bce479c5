#include "ScriptCommandLine.h"

#include <algorithm>

#include "scripting/ScriptCommands.h"
#include "scripting/ScriptDefinition.h"

namespace routelle::desktop {
namespace {

ScriptArgument argumentFor(const std::string& command, const std::string& key, const std::string& value) {
  if (isBooleanScriptParameter(command, key)) {
    if (value == "true") return true;
    if (value == "false") return false;
  }
  return value;
}

}  // namespace

int runScriptCommand(LinuxSystem& system, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "routelle-desktop: script needs a command class\n";
    return 64;
  }
  const std::string& className = args[0];
  auto command = makeScriptCommand(className, system.scripting);
  if (!command) {
    err << "routelle-desktop: unknown script command \"" << className << "\"\n";
    return 64;
  }
  const auto keys = scriptParameterKeys(className);
  auto takes = [&](std::string_view key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string key;
    if (args[i].starts_with("--")) {
      key = args[i].substr(2);
      if (++i >= args.size()) {
        err << "routelle-desktop: --" << key << " needs a value\n";
        return 64;
      }
    }
    if (!takes(key)) {
      err << "routelle-desktop: " << className << " has no parameter " << (key.empty() ? "direct" : "--" + key) << "\n";
      return 64;
    }
    command->evaluatedArguments[key] = argumentFor(className, key, args[i]);
  }
  const ScriptResult result = command->performDefaultImplementation();
  if (command->scriptErrorString()) {
    err << "routelle-desktop: script error: " << *command->scriptErrorString() << "\n";
    return 1;
  }
  if (const bool* b = std::get_if<bool>(&result))
    out << (*b ? "true" : "false") << "\n";
  else if (const int* number = std::get_if<int>(&result))
    out << *number << "\n";
  else
    out << std::get<std::string>(result);
  return 0;
}

}  // namespace routelle::desktop
