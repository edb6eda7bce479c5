#include "routing/DecisionText.h"

#include <array>

namespace routelle {
namespace {

struct StepNames {
  DecisionStepKind kind;
  std::string_view name;
  std::string_view key;
};

constexpr std::array kStepNames{
    StepNames{DecisionStepKind::noLink, "link", "no-link"},
    StepNames{DecisionStepKind::ownScheme, "own scheme", "own-scheme"},
    StepNames{DecisionStepKind::extensionMarker, "extension marker", "extension-marker"},
    StepNames{DecisionStepKind::mailLink, "mail link", "mail-link"},
    StepNames{DecisionStepKind::cleanLinks, "clean links", "clean-links"},
    StepNames{DecisionStepKind::modifierKeys, "modifier keys", "modifier-keys"},
    StepNames{DecisionStepKind::rulePriority, "rule order", "rule-order"},
    StepNames{DecisionStepKind::applicationRule, "application rules", "application-rules"},
    StepNames{DecisionStepKind::onionRule, "onion rule", "onion-rule"},
    StepNames{DecisionStepKind::domainRules, "domain rules", "domain-rules"},
    StepNames{DecisionStepKind::defaultChoice, "default choice", "default-choice"},
    StepNames{DecisionStepKind::openedBrowser, "opened browser", "opened-browser"},
    StepNames{DecisionStepKind::browsersList, "browsers list", "browsers-list"},
    StepNames{DecisionStepKind::profile, "profile", "profile"},
    StepNames{DecisionStepKind::launch, "launch", "launch"},
};

const StepNames& namesOf(DecisionStepKind kind) {
  for (const auto& names : kStepNames)
    if (names.kind == kind) return names;
  return kStepNames.front();
}

bool needsQuotes(std::string_view word) {
  if (word.empty()) return true;
  for (char c : word)
    if (c == ' ' || c == '"' || c == '\'' || c == '\\' || c == '\t' || c == '\n') return true;
  return false;
}

}  // namespace

std::string_view decisionStepName(DecisionStepKind kind) { return namesOf(kind).name; }
std::string_view decisionStepKey(DecisionStepKind kind) { return namesOf(kind).key; }

std::string_view decisionOutcomeKey(DecisionOutcome outcome) {
  switch (outcome) {
    case DecisionOutcome::launchBrowser:
      return "launch";
    case DecisionOutcome::browsersList:
      return "browsers-list";
    case DecisionOutcome::openWithMenu:
      return "open-with-menu";
    case DecisionOutcome::none:
      break;
  }
  return "nothing";
}

std::string_view launchWayKey(LaunchPlan::Way way) {
  switch (way) {
    case LaunchPlan::Way::openCommand:
      return "open-command";
    case LaunchPlan::Way::openCommandStrict:
      return "open-command-once";
    case LaunchPlan::Way::executable:
      return "executable";
    case LaunchPlan::Way::openURL:
      return "open-url";
    case LaunchPlan::Way::refused:
      break;
  }
  return "refused";
}

std::string commandLine(const LaunchPlan::Command& command) {
  std::string line;
  auto add = [&](std::string_view word) {
    if (!line.empty()) line += ' ';
    if (!needsQuotes(word)) {
      line += word;
      return;
    }
    line += '"';
    for (char c : word) {
      if (c == '"' || c == '\\') line += '\\';
      line += c;
    }
    line += '"';
  };
  add(command.program);
  for (const auto& argument : command.arguments) add(argument);
  return line;
}

std::string explanationText(const RoutingDecision& d) {
  std::string out;
  auto line = [&](std::string_view text) {
    out += text;
    out += '\n';
  };
  if (!d.received.empty() || d.outcome != DecisionOutcome::none) line("link received: " + d.received);
  if (!d.link.empty()) line("link: " + d.link);
  if (d.host) line("host: " + *d.host + (d.path.empty() ? "" : ", path: " + d.path));
  for (const auto& step : d.steps) {
    line((step.decided ? "* " : "  ") + std::string(decisionStepName(step.kind)) + ": " + step.finding);
    for (const auto& match : step.matches)
      line("      " + match.rule + " -> " + match.browser + " (" + match.reason + ")");
  }
  line("decision: " + d.summary);
  if (!d.launch) return out;
  const auto& plan = *d.launch;
  switch (plan.way) {
    case LaunchPlan::Way::refused:
      line("launch: none, " + plan.reason);
      return out;
    case LaunchPlan::Way::openURL:
      line("launch: open the URL " + plan.commands.front().program);
      return out;
    case LaunchPlan::Way::executable:
    case LaunchPlan::Way::openCommandStrict:
    case LaunchPlan::Way::openCommand:
      break;
  }
  line("launch: " + commandLine(plan.commands.front()));
  if (plan.commands.size() > 1) line("  when no application is found there: " + commandLine(plan.commands.back()));
  line(plan.background ? "  in the background" : "  in the foreground");
  return out;
}

}  // namespace routelle
