#include "scripting/BrowserScriptCommands.h"

#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {

ScriptResult ShowBrowsersListCommandScript::perform() {
  context_.settings.setString(keys::defaultChoice, values::showBrowserList);
  return true;
}

ScriptResult UseTheOpenedBrowser::perform() {
  context_.settings.setString(keys::defaultChoice, values::useOpenedBrowser);
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

ScriptResult SaveScriptCommand::perform() {
  auto given = requireText("BrowserName");
  if (!given) return 0;
  const std::string name = text::capitalized(*given);
  stringToReturn = name;
  // Added browsers are accepted by their bundle file name, or without ".app",
  // and stored without it: the name the status menu lists them by, so that the
  // menu keeps them as the default when it is rebuilt.
  std::vector<std::pair<std::string, std::string>> addedNames;  // file name, display name
  for (const auto& identifier : context_.registry.addedIdentifiers())
    if (auto path = context_.registry.pathForIdentifier(identifier)) {
      std::string fileName = text::lastPathComponent(*path);
      browsersNameList.push_back(fileName);
      std::string displayName = fileName.ends_with(".app") ? fileName.substr(0, fileName.size() - 4) : fileName;
      addedNames.emplace_back(std::move(fileName), std::move(displayName));
    }

  auto store = [&](std::string_view value) {
    context_.settings.setString(keys::defaultChoice, value);
    return true;
  };
  auto storeBrowser = [&](const std::string& browser) {
    return !context_.registry.isProgramItself(browser) && store(browser);
  };
  if (text::equalsIgnoringCase(name, values::showBrowsersList)) return store(values::showBrowserList);
  if (text::equalsIgnoringCase(name, values::useOpenedBrowser)) return store(values::useOpenedBrowser);
  for (const auto& [fileName, displayName] : addedNames)
    if (text::equalsIgnoringCase(name, fileName) || text::equalsIgnoringCase(name, displayName))
      return storeBrowser(displayName);
  for (const auto& accepted : browsersNameList)
    if (text::equalsIgnoringCase(name, accepted)) return storeBrowser(accepted);
  stringToReturn = "Browser not found";
  return false;
}

ScriptResult AddBrowserScriptCommand::perform() {
  auto name = requireText("");
  if (!name) return 0;
  const bool added = context_.registry.addBrowserNamed(*name);
  postFetchMenu();
  return added;
}

ScriptResult RemoveBrowserScriptCommand::perform() {
  auto name = requireText("");
  if (!name) return 0;
  const bool removed = context_.registry.removeAddedBrowser(text::capitalized(*name));
  postFetchMenu();
  return removed;
}

ScriptResult ExplainScriptCommand::perform() {
  auto link = requireText("");
  if (!link) return 0;
  if (!context_.explainLink) return fail("links cannot be explained before the program has started");
  return context_.explainLink(*link);
}

}  // namespace routelle
