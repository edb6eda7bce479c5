#include "scripting/PreferenceScriptCommands.h"

#include "routing/LinkCleaner.h"
#include "settings/Keys.h"

namespace routelle {

namespace {
constexpr const char* kSystemMail = "com.apple.mail";
}

PreferenceScriptCommand::PreferenceScriptCommand(ScriptContext& context, bool enable)
    : ScriptCommand(context), enable_(enable) {
  for (const auto& entry : preferenceNames) prefname.emplace(entry.name, entry.key);
}

ScriptResult PreferenceScriptCommand::perform() {
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

ScriptResult AddCleaningEntryScriptCommand::perform() {
  auto typed = requireText("");
  if (!typed) return 0;
  const UserCleaningEntry entry = readUserCleaningEntry(*typed);
  if (!entry.line) return fail(entry.refusal);
  return addUserCleaningEntry(context_.settings, *entry.line);
}

ScriptResult CheckForUpdatesCommandScript::perform() {
  context_.updater.checkForUpdates();
  return 0;
}

ScriptResult ImportCommandScript::perform() {
  auto path = requireText("FilePath");
  if (!path) return 0;
  context_.workspaceNotifications.post(kImportNotification, {{"path", *path}});
  return 0;
}

ScriptResult ExportCommandScript::perform() {
  auto path = requireText("FilePath");
  if (!path) return 0;
  context_.workspaceNotifications.post(kExportNotification, {{"path", *path}});
  return 0;
}

}  // namespace routelle
