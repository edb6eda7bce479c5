#include "scripting/ScriptCommand.h"

#include "support/Text.h"

namespace routelle {

ScriptResult ScriptCommand::performDefaultImplementation() {
  const auto failuresBefore = context_.settings.writeFailures().count;
  ScriptResult result = 0;
  // A failed write is the command's own error, not an alert.
  context_.settings.unattended([&] { result = perform(); });
  const auto failures = context_.settings.writeFailures();
  if (failures.count != failuresBefore) return fail(preferencesNotSavedMessage(failures.lastCause));
  return result;
}

std::optional<std::string> ScriptCommand::requireText(const std::string& key) {
  auto it = evaluatedArguments.find(key);
  if (it == evaluatedArguments.end()) {
    fail(key.empty() ? "The direct parameter is missing." : "The parameter \"" + key + "\" is missing.");
    return std::nullopt;
  }
  const auto* value = std::get_if<std::string>(&it->second);
  if (!value) {
    fail("The parameter \"" + key + "\" must be text.");
    return std::nullopt;
  }
  if (!text::isValidUtf8(*value) || value->find('\0') != std::string::npos) {
    fail("The parameter \"" + key + "\" is not valid text.");
    return std::nullopt;
  }
  return *value;
}

bool ScriptCommand::optionalText(const std::string& key, std::optional<std::string>& value) {
  if (!evaluatedArguments.contains(key)) return true;
  value = requireText(key);
  return value.has_value();
}

bool ScriptCommand::profileDirectory(const std::string& browser, std::optional<std::string>& directory) {
  std::optional<std::string> given;
  if (!optionalText("Profile", given)) return false;
  if (!given) return true;
  std::optional<BrowserProfile> found;
  if (context_.profiles) found = context_.profiles->find(browser, *given);
  if (!found) {
    fail("\"" + browser + "\" has no profile \"" + *given + "\".");
    return false;
  }
  directory = found->directory;
  return true;
}

std::optional<bool> ScriptCommand::requireBool(const std::string& key) {
  auto it = evaluatedArguments.find(key);
  if (it == evaluatedArguments.end()) {
    fail("The parameter \"" + key + "\" is missing.");
    return std::nullopt;
  }
  const auto* value = std::get_if<bool>(&it->second);
  if (!value) {
    fail("The parameter \"" + key + "\" must be a boolean.");
    return std::nullopt;
  }
  return *value;
}

ScriptResult ScriptCommand::fail(std::string message) {
  if (!scriptError_) scriptError_ = std::move(message);
  return 0;
}

void ScriptCommand::postFetchMenu() { context_.workspaceNotifications.post(kFetchMenuNotification); }

}  // namespace routelle
