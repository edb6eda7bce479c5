#include <algorithm>
#include <map>
#include <ostream>

#include "Driver.h"
#include "ProgramRun.h"
#include "scripting/ScriptCommands.h"
#include "scripting/ScriptDefinition.h"

namespace routelle::driver {
namespace {

ScriptArgument argumentFor(const std::string& command, const std::string& key, const std::string& value) {
  if (isBooleanScriptParameter(command, key)) {
    if (value == "true") return true;
    if (value == "false") return false;
  }
  return value;
}

std::string describe(const ScriptResult& r) {
  if (const bool* b = std::get_if<bool>(&r)) return *b ? "true" : "false";
  if (const std::string* text = std::get_if<std::string>(&r))
    return text->ends_with('\n') ? text->substr(0, text->size() - 1) : *text;
  return std::to_string(std::get<int>(r));
}

// What the command takes, as the driver spells it.
std::string acceptedParameters(const std::string& className) {
  std::string out;
  for (auto key : scriptParameterKeys(className))
    out += (out.empty() ? "" : ", ") + (key.empty() ? std::string("a direct parameter") : "--" + std::string(key));
  return out.empty() ? std::string("no parameters") : out;
}

}  // namespace

int runScript(const Invocation& inv, const ScriptCall& call, std::ostream& out, std::ostream& err) {
  const std::string& className = call.className;
  const auto& known = scriptCommandClassNames();
  if (std::find(known.begin(), known.end(), className) == known.end())
    throw UsageError("unknown script command \"" + className + "\" (see routelle --help)");

  // A usage error is found before the program starts, so it leaves the world as it was.
  const auto keys = scriptParameterKeys(className);
  auto takes = [&](std::string_view key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
  for (const auto& word : call.unexpected)
    if (word.starts_with("--"))
      throw UsageError(className + " has no parameter " + word + "; it takes " + acceptedParameters(className));
  if (!call.unexpected.empty()) throw UsageError("unexpected argument \"" + call.unexpected.front() + "\"");
  std::map<std::string, ScriptArgument> arguments;
  if (call.direct) {
    if (!takes(""))
      throw UsageError(className + " takes no direct parameter; it takes " + acceptedParameters(className));
    arguments[""] = argumentFor(className, "", *call.direct);
  }
  for (const auto& [key, value] : call.named) {
    if (!takes(key))
      throw UsageError(className + " has no parameter --" + key + "; it takes " + acceptedParameters(className));
    arguments[key] = argumentFor(className, key, value);
  }

  // Script commands reach the running program, started as the system starts it.
  Descendants descendants;
  ProgramRun run(inv, out, /*echo=*/false);
  HostSystem& system = run.app().system;
  auto command = makeScriptCommand(className, system.scripting);
  command->evaluatedArguments = std::move(arguments);

  if (inv.trace) {
    system.workspaceNotifications.addObserver("", [&out](const std::string& name, const UserInfo& info) {
      out << "notification " << name;
      for (const auto& [k, v] : info) out << " " << k << "=" << v;
      out << "\n";
    });
  }
  const ScriptResult result = command->performDefaultImplementation();
  run.settle();
  if (command->scriptErrorString()) {
    err << "routelle: script error: " << *command->scriptErrorString() << "\n";
    return 1;
  }
  out << describe(result) << "\n";
  return 0;
}

}  // namespace routelle::driver
