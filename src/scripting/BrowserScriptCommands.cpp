#include "scripting/BrowserScriptCommands.h"

#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {

ScriptResult ShowBrowsersListCommandScript::performDefaultImplementation() {
  context_.settings.setString(keys::login, values::showBrowserList);
  return true;
}

ScriptResult UseTheOpenedBrowser::performDefaultImplementation() {
  context_.settings.setString(keys::login, values::useOpenedBrowser);
  return true;
}

SaveScriptCommand::SaveScriptCommand(ScriptContext& context)
    : ScriptCommand(context),
      browsersNameList{"Safari",
                       "Firefox",
                       "Google Chrome",
                       "Opera",
                       "Chromium",
                       "Roccat",
                       "TorBrowser",
                       "Vivaldi",
                       "iCab",
                       "SeaMonkey",
                       "Opera Developer",
                       "Brave",
                       "Helium",
                       "Safari Technology Preview",
                       std::string(values::showBrowsersList),
                       std::string(values::useOpenedBrowser)} {}

ScriptResult SaveScriptCommand::performDefaultImplementation() {
  auto given = requireText("BrowserName");
  if (!given) return 0;
  const std::string name = text::capitalized(*given);
  stringToReturn = name;
  for (const auto& identifier : context_.registry.addedIdentifiers())
    if (auto path = context_.registry.pathForIdentifier(identifier))
      browsersNameList.push_back(text::lastPathComponent(*path));

  auto store = [&](std::string_view value) {
    context_.settings.setString(keys::login, value);
    return true;
  };
  if (text::equalsIgnoringCase(name, values::showBrowsersList)) return store(values::showBrowserList);
  if (text::equalsIgnoringCase(name, values::useOpenedBrowser)) return store(values::useOpenedBrowser);
  for (const auto& accepted : browsersNameList)
    if (text::equalsIgnoringCase(name, accepted)) return store(accepted);
  stringToReturn = "Browser not found";
  return false;
}

ScriptResult AddBrowserScriptCommand::performDefaultImplementation() {
  auto name = requireText("");
  if (!name) return 0;
  const bool added = context_.registry.addBrowserNamed(*name);
  postFetchMenu();
  return added;
}

ScriptResult RemoveBrowserScriptCommand::performDefaultImplementation() {
  auto name = requireText("");
  if (!name) return 0;
  const bool removed = context_.registry.removeAddedBrowser(text::capitalized(*name));
  postFetchMenu();
  return removed;
}

}  // namespace routelle
