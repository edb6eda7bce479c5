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
  return std::to_string(std::get<int>(r));
}

}  // namespace

int runScript(const Invocation& inv, std::ostream& out, std::ostream& err) {
  if (inv.args.size() < 2) throw UsageError("script needs a command class name");
  const std::string& className = inv.args[1];
  const auto& known = scriptCommandClassNames();
  if (std::find(known.begin(), known.end(), className) == known.end())
    throw UsageError("unknown script command \"" + className + "\"");

  // A usage error is found before the program starts, so it leaves the world as it was.
  std::map<std::string, ScriptArgument> arguments;
  bool haveDirect = false;
  for (size_t i = 2; i < inv.args.size(); ++i) {
    const std::string& a = inv.args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (i + 1 >= inv.args.size()) throw UsageError(a + " needs a value");
      const std::string key = a.substr(2);
      arguments[key] = argumentFor(className, key, inv.args[++i]);
    } else if (!haveDirect) {
      arguments[""] = argumentFor(className, "", a);
      haveDirect = true;
    } else {
      throw UsageError("unexpected argument \"" + a + "\"");
    }
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
