#pragma once
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/ScriptRunner.h"
#include "platform/Workspace.h"
#include "platform/host/BrowserTabs.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

// Every script run, one line each: the frontmost application's name ("-" for none),
// a tab, and the source with line breaks written as \n and backslashes doubled.
std::filesystem::path scriptLog(const World& world);

// AppleScript of the host world: exactly the script forms the program sends,
// read as a real interpreter reads them (string literals with backslash
// escapes) and acted on world state; anything else fails as a script the
// system cannot run.
class HostScriptRunner final : public ScriptRunner {
 public:
  HostScriptRunner(const World& world, Workspace& workspace, Transcript& transcript)
      : world_(world), tabs_(world), workspace_(workspace), transcript_(transcript) {}
  ScriptOutcome run(const std::string& source) override;
  void determinePermissionToAutomate(const std::string& bundleIdentifier) override {
    transcript_.add("automation permission asked for " + bundleIdentifier);
  }

 private:
  void logScript(const std::string& source);
  // The URL of the browser's front tab, or of every tab of its window 1; the
  // error a browser gives when it has none.
  std::optional<ScriptOutcome> tabUrls(const std::string& browser, bool allTabs, std::vector<std::string>& urls);
  ScriptOutcome closeTabs(const std::string& browser, const std::string& url);

  const World& world_;
  BrowserTabs tabs_;
  Workspace& workspace_;
  Transcript& transcript_;
};

}  // namespace routelle
