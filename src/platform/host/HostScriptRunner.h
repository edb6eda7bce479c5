#pragma once
#include "platform/ScriptRunner.h"
#include "platform/Workspace.h"
#include "platform/host/BrowserTabs.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

// AppleScript of the host world: exactly the script forms the program sends,
// read as a real interpreter reads them (string literals with backslash
// escapes) and acted on world state; anything else fails as a script the
// system cannot run.
class HostScriptRunner final : public ScriptRunner {
 public:
  HostScriptRunner(const World& world, Workspace& workspace, Transcript& transcript)
      : tabs_(world), workspace_(workspace), transcript_(transcript) {}
  ScriptOutcome run(const std::string& source) override;
  void determinePermissionToAutomate(const std::string& bundleIdentifier) override {
    transcript_.add("automation permission asked for " + bundleIdentifier);
  }

 private:
  ScriptOutcome tellBrowser(const std::string& browser, bool allTabs);
  ScriptOutcome closeTabs(const std::string& browser, const std::string& url);

  BrowserTabs tabs_;
  Workspace& workspace_;
  Transcript& transcript_;
};

}  // namespace routelle
