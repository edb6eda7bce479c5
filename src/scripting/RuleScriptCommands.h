#pragma once
#include "scripting/ScriptCommand.h"

namespace routelle {

// Domain text under the empty key, browser under "FilePath".
class AddDomainScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

// Source application under the empty key, browser under "FilePath".
class AddAppScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

class RemoveRuleScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

// Modifier name under the empty key, browser under "FilePath"; 0, or false
// (nothing stored) when the browser is the program itself.
class ModifierKeyScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

// Modifier name under the empty key, Bool under "FilePath".
class BackModifierKeyScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

// "per domain" or "per app" under "FilePath".
class ChangePriorityScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

}  // namespace routelle
