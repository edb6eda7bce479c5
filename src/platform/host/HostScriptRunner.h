#pragma once
#include "platform/ScriptRunner.h"
#include "platform/host/Transcript.h"

namespace routelle {

// AppleScript of the host world: exactly the script forms the program sends,
// acted on world state; anything else fails as a script the system cannot run.
class HostScriptRunner final : public ScriptRunner {
 public:
  explicit HostScriptRunner(Transcript& transcript) : transcript_(transcript) {}
  ScriptOutcome run(const std::string& source) override;

 private:
  Transcript& transcript_;
};

}  // namespace routelle
