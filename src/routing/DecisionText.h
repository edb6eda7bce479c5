#pragma once
#include <string>
#include <string_view>

#include "routing/RoutingDecision.h"

namespace routelle {

// A step's name in readable lines ("domain rules") and its key in a document
// ("domain-rules").
std::string_view decisionStepName(DecisionStepKind kind);
std::string_view decisionStepKey(DecisionStepKind kind);
// "launch", "browsers-list", "open-with-menu" or "nothing".
std::string_view decisionOutcomeKey(DecisionOutcome outcome);
// "open-command", "open-command-once", "executable", "open-url" or "refused".
std::string_view launchWayKey(LaunchPlan::Way way);

// The decision as readable lines, each ending in a line break: the link as
// received and as handled, every step (the deciding one marked "*"), the
// decision, and how the browser would be started.
std::string explanationText(const RoutingDecision& decision);

// A command and its arguments as one line, an argument with blanks or quotes quoted.
std::string commandLine(const LaunchPlan::Command& command);

}  // namespace routelle
