#pragma once
#include "platform/ScriptRunner.h"

namespace routelle {

// No AppleScript on this desktop: every script fails, and the core offers
// nothing that needs one.
class LinuxScriptRunner final : public ScriptRunner {
 public:
  bool available() const override { return false; }
  ScriptOutcome run(const std::string&) override { return {false, "", "AppleScript is not available here"}; }
  void determinePermissionToAutomate(const std::string&) override {}
};

}  // namespace routelle
