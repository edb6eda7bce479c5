#pragma once
#include <map>
#include <string>

#include "scripting/ScriptCommand.h"
#include "settings/PreferenceNames.h"

namespace routelle {

// Turns a named boolean preference on or off.
class PreferenceScriptCommand : public ScriptCommand {
 public:
  PreferenceScriptCommand(ScriptContext& context, bool enable);

  // Preference name -> settings key (empty for the two without a key).
  std::map<std::string, std::string> prefname;

 protected:
  ScriptResult perform() override;

 private:
  bool enable_;
};

class EnablePreferenceScriptCommand final : public PreferenceScriptCommand {
 public:
  explicit EnablePreferenceScriptCommand(ScriptContext& context) : PreferenceScriptCommand(context, true) {}
};

class DisablePreferenceScriptCommand final : public PreferenceScriptCommand {
 public:
  explicit DisablePreferenceScriptCommand(ScriptContext& context) : PreferenceScriptCommand(context, false) {}
};

// Adds one of the user's own "Clean Links" entries: a tracking parameter's name,
// or a redirect link from which the entry that unwraps such links is written.
// True once stored (or already there); what is neither is a script error.
class AddCleaningEntryScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

class CheckForUpdatesCommandScript final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

// Hands a rule file path to the importer.
class ImportCommandScript final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

// Hands a directory path to the exporter.
class ExportCommandScript final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

}  // namespace routelle
