#include "scripting/PreferenceScriptCommands.h"

#include "settings/Keys.h"

namespace routelle {

namespace {
constexpr const char* kSystemMail = "com.apple.mail";
}

PreferenceScriptCommand::PreferenceScriptCommand(ScriptContext& context, bool enable)
    : ScriptCommand(context), enable_(enable) {
  for (const auto& entry : preferenceNames) prefname.emplace(entry.name, entry.key);
}

ScriptResult PreferenceScriptCommand::performDefaultImplementation() {
  auto name = requireText("");
  if (!name) return 0;
  auto entry = findPreferenceName(*name);
  if (!entry) {
    postFetchMenu();
    return false;
  }
  switch (entry->target) {
    case PreferenceTarget::automaticUpdateChecks:
      context_.updater.setAutomaticallyChecksForUpdates(enable_);
      break;
    case PreferenceTarget::mailtoHandler:
      context_.launchServices.setDefaultHandler("mailto",
                                                enable_ ? std::string(domains::ownBundleIdentifier) : kSystemMail);
      break;
    case PreferenceTarget::inverseKey:
      context_.settings.setBool(entry->key, !enable_);
      break;
    case PreferenceTarget::key:
      context_.settings.setBool(entry->key, enable_);
      break;
  }
  postFetchMenu();
  return true;
}

ScriptResult CheckForUpdatesCommandScript::performDefaultImplementation() {
  context_.updater.checkForUpdates();
  return 0;
}

ScriptResult ImportCommandScript::performDefaultImplementation() {
  auto path = requireText("FilePath");
  if (!path) return 0;
  context_.workspaceNotifications.post(kImportNotification, {{"path", *path}});
  return 0;
}

ScriptResult ExportCommandScript::performDefaultImplementation() {
  auto path = requireText("FilePath");
  if (!path) return 0;
  context_.workspaceNotifications.post(kExportNotification, {{"path", *path}});
  return 0;
}

}  // namespace routelle
