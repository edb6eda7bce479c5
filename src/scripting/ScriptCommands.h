#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scripting/ScriptCommand.h"

namespace routelle {

// The command class of that name, as the scripting definition names them;
// nothing for an unknown name.
std::unique_ptr<ScriptCommand> makeScriptCommand(std::string_view className, ScriptContext& context);
const std::vector<std::string_view>& scriptCommandClassNames();

}  // namespace routelle
