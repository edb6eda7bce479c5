// "explain URL": what the program would do with a link, doing none of it.
#include <nlohmann/json.hpp>
#include <ostream>

#include "Driver.h"
#include "HostApp.h"
#include "routing/DecisionText.h"
#include "support/Text.h"

namespace routelle::driver {
namespace {

nlohmann::ordered_json decisionDocument(const RoutingDecision& d) {
  using json = nlohmann::ordered_json;
  json steps = json::array();
  for (const auto& step : d.steps) {
    json entry{{"step", decisionStepKey(step.kind)}, {"found", step.finding}, {"decided", step.decided}};
    if (!step.matches.empty()) {
      json matches = json::array();
      for (const auto& match : step.matches)
        matches.push_back({{"rule", match.rule}, {"browser", match.browser}, {"reason", match.reason}});
      entry["matches"] = std::move(matches);
    }
    steps.push_back(std::move(entry));
  }
  const auto* deciding = d.decidingStep();
  json launch = nullptr;
  if (d.launch) {
    json commands = json::array();
    for (const auto& command : d.launch->commands)
      commands.push_back({{"program", command.program}, {"arguments", command.arguments}});
    launch = {{"way", launchWayKey(d.launch->way)}, {"background", d.launch->background}, {"commands", commands}};
    if (d.launch->way == LaunchPlan::Way::refused) launch["refused"] = d.launch->reason;
  }
  return {
      {"received", d.received},
      {"link", d.link},
      {"host", d.host ? json(*d.host) : json(nullptr)},
      {"path", d.path},
      {"steps", std::move(steps)},
      {"decided_by", deciding ? json(decisionStepKey(deciding->kind)) : json(nullptr)},
      {"outcome", decisionOutcomeKey(d.outcome)},
      {"browser", d.outcome == DecisionOutcome::launchBrowser ? json(d.browser) : json(nullptr)},
      {"summary", d.summary},
      {"launch", std::move(launch)},
  };
}

}  // namespace

int runExplain(const Invocation& inv, const ExplainRequest& request, std::ostream& out) {
  // The program is built but not started: start-up writes first-use settings,
  // and explaining changes nothing in the world.
  HostApp app(inv.root);
  auto& workspace = app.system.workspace;
  LinkMoment moment;
  moment.modifierFlags = request.modifiers ? parseModifiers(*request.modifiers) : 0;
  if (request.from) moment.previousApplication = workspace.runningApplicationNamed(*request.from);
  if (request.running) {
    moment.running.emplace();
    for (const auto& name : text::split(*request.running, ","))
      if (!name.empty()) moment.running->push_back(workspace.runningApplicationNamed(name));
  }
  const auto decision = app.delegate.linkIntake().explainLink(request.url, moment);
  if (request.json)
    out << decisionDocument(decision).dump(2) << "\n";
  else
    out << explanationText(decision);
  return 0;
}

}  // namespace routelle::driver
