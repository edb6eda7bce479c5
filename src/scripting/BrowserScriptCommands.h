#pragma once
#include <string>
#include <vector>

#include "scripting/ScriptCommand.h"

namespace routelle {

// Which browser a link would open in and why (the direct parameter); opens nothing.
class ExplainScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

class ShowBrowsersListCommandScript final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

class UseTheOpenedBrowser final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

// Sets the default action from "BrowserName".
class SaveScriptCommand final : public ScriptCommand {
 public:
  explicit SaveScriptCommand(ScriptContext& context);

  std::vector<std::string> browsersNameList;
  std::string stringToReturn;

 protected:
  ScriptResult perform() override;
};

class AddBrowserScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

class RemoveBrowserScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;

 protected:
  ScriptResult perform() override;
};

}  // namespace routelle
