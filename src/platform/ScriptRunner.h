#pragma once
#include <optional>
#include <string>

namespace routelle {

struct ScriptOutcome {
  bool ok = false;
  std::string result;  // the script's result as text
  std::string error;
};

// Compiles and runs AppleScript source.
class ScriptRunner {
 public:
  virtual ~ScriptRunner() = default;
  // Whether the system runs AppleScript at all; without it nothing reads or moves
  // browser tabs, and the menu offers no entry for it.
  virtual bool available() const { return true; }
  virtual ScriptOutcome run(const std::string& source) = 0;
  // Asks the system, without prompting, whether the program may send Apple events
  // to the application; the answer is not needed, the question registers the program.
  virtual void determinePermissionToAutomate(const std::string& bundleIdentifier) = 0;
};

}  // namespace routelle
