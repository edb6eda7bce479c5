#import "ScriptCommandBridge.h"

#import <objc/runtime.h>

#include "platform/macos/Strings.h"
#include "scripting/ScriptCommands.h"
#include "scripting/ScriptDefinition.h"

namespace {

routelle::ScriptContext* commandContext = nullptr;

// Text stays text; a number is a boolean where the definition declares one and
// text otherwise. Anything else is left out, which the command reports as missing.
std::map<std::string, routelle::ScriptArgument> argumentsOf(RTLScriptCommand* command, const std::string& className) {
  std::map<std::string, routelle::ScriptArgument> out;
  NSDictionary<NSString*, id>* given = command.evaluatedArguments;
  for (NSString* key in given) {
    const std::string name = routelle::macos::str(key);
    id value = given[key];
    if ([value isKindOfClass:[NSString class]])
      out[name] = routelle::macos::str(value);
    else if ([value isKindOfClass:[NSNumber class]] && routelle::isBooleanScriptParameter(className, name))
      out[name] = bool([value boolValue]);
    else if ([value isKindOfClass:[NSNumber class]])
      out[name] = routelle::macos::str([value stringValue]);
  }
  // The direct parameter is the argument under the empty key.
  id direct = command.directParameter;
  if (!out.contains("") && [direct isKindOfClass:[NSString class]]) out[""] = routelle::macos::str(direct);
  return out;
}

}  // namespace

@implementation RTLScriptCommand

- (id)performDefaultImplementation {
  const std::string className = routelle::macos::str(NSStringFromClass([self class]));
  auto command = commandContext ? routelle::makeScriptCommand(className, *commandContext) : nullptr;
  if (!command) return @0;
  command->evaluatedArguments = argumentsOf(self, className);
  const routelle::ScriptResult result = command->performDefaultImplementation();
  if (const auto& error = command->scriptErrorString()) {
    self.scriptErrorNumber = NSArgumentsWrongScriptError;
    self.scriptErrorString = routelle::macos::ns(*error);
    return nil;
  }
  if (const bool* answer = std::get_if<bool>(&result)) return [NSNumber numberWithBool:*answer];
  if (const std::string* text = std::get_if<std::string>(&result)) return routelle::macos::ns(*text);
  const int* count = std::get_if<int>(&result);
  return [NSNumber numberWithInt:count ? *count : 0];
}

@end

namespace routelle::macos {

void registerScriptCommandClasses(ScriptContext& context) {
  commandContext = &context;
  for (std::string_view name : scriptCommandClassNames()) {
    const std::string className(name);
    if (NSClassFromString(ns(className))) continue;
    Class subclass = objc_allocateClassPair([RTLScriptCommand class], className.c_str(), 0);
    if (subclass) objc_registerClassPair(subclass);
  }
}

}  // namespace routelle::macos
