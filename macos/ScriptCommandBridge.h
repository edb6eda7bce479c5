#pragma once
// The script command classes the scripting definition names.
#import <Foundation/Foundation.h>

#include "scripting/ScriptCommand.h"

// The one implementation behind every command class: it runs the core's command of
// the same class name with the evaluated arguments.
@interface RTLScriptCommand : NSScriptCommand
@end

namespace routelle::macos {

// Creates a subclass of RTLScriptCommand for each command class the core knows; the
// scripting system finds them by name. Commands act through `context` from then on.
void registerScriptCommandClasses(ScriptContext& context);

}  // namespace routelle::macos
