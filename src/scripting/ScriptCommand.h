#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "platform/LaunchServices.h"
#include "platform/Updater.h"
#include "settings/BrowserProfiles.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/NotificationCenter.h"

namespace routelle {

using ScriptArgument = std::variant<std::string, bool>;
// A Bool, or the integer 0 for "nothing done" and for work carried elsewhere,
// or a text.
using ScriptResult = std::variant<bool, int, std::string>;

// What the commands act through.
struct ScriptContext {
  SettingsStore& settings;
  BrowserRegistry& registry;
  RuleStore& rules;
  NotificationCenter& workspaceNotifications;
  Updater& updater;
  LaunchServices& launchServices;
  // Where browsers' profiles are found; without it a "Profile" is refused.
  BrowserProfiles* profiles = nullptr;
  // What the running program would do with a link now, as readable lines; set
  // by the composition root once the program exists.
  std::function<std::string(const std::string& link)> explainLink = {};
};

inline constexpr const char* kFetchMenuNotification = "fetchmenu";
inline constexpr const char* kExportNotification = "export";
inline constexpr const char* kImportNotification = "import";

// One incoming script command, in the style of the platform's scripting system:
// evaluated arguments keyed by text, then performDefaultImplementation.
class ScriptCommand {
 public:
  explicit ScriptCommand(ScriptContext& context) : context_(context) {}
  virtual ~ScriptCommand() = default;

  std::map<std::string, ScriptArgument> evaluatedArguments;

  // Runs the command; on a script error the result is 0. A change the
  // preferences could not store is a script error naming the cause, never a
  // success.
  ScriptResult performDefaultImplementation();

  const std::optional<std::string>& scriptErrorString() const { return scriptError_; }

 protected:
  // What the command does; a missing or mistyped argument is refused before
  // anything changes.
  virtual ScriptResult perform() = 0;

  // A required argument of the given kind; a missing or mistyped one sets the
  // script error and answers nothing.
  std::optional<std::string> requireText(const std::string& key);
  std::optional<bool> requireBool(const std::string& key);
  // An optional text argument: absent is fine, present it must be text.
  bool optionalText(const std::string& key, std::optional<std::string>& value);
  // The "Profile" argument for the browser, as the directory the rule keeps:
  // nothing without one, false after a script error (no such profile).
  bool profileDirectory(const std::string& browser, std::optional<std::string>& directory);
  ScriptResult fail(std::string message);
  void postFetchMenu();

  ScriptContext& context_;

 private:
  std::optional<std::string> scriptError_;
};

}  // namespace routelle
