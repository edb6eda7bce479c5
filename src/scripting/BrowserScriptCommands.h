#pragma once
#include <string>
#include <vector>

#include "scripting/ScriptCommand.h"

namespace routelle {

class ShowBrowsersListCommandScript final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;
  ScriptResult performDefaultImplementation() override;
};

class UseTheOpenedBrowser final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;
  ScriptResult performDefaultImplementation() override;
};

// Sets the default action from "BrowserName".
class SaveScriptCommand final : public ScriptCommand {
 public:
  explicit SaveScriptCommand(ScriptContext& context);
  ScriptResult performDefaultImplementation() override;

  std::vector<std::string> browsersNameList;
  std::string stringToReturn;
};

class AddBrowserScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;
  ScriptResult performDefaultImplementation() override;
};

class RemoveBrowserScriptCommand final : public ScriptCommand {
 public:
  using ScriptCommand::ScriptCommand;
  ScriptResult performDefaultImplementation() override;
};

}  // namespace routelle
