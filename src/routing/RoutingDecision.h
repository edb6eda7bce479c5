#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "routing/LaunchPlan.h"

namespace routelle {

// The steps routing takes for a link, in its order. A new kind of step is one
// more name here and in decisionStepName (DecisionText.cpp).
enum class DecisionStepKind {
  noLink,           // the event carried no link
  ownScheme,        // the program's own "routelle://" in front
  extensionMarker,  // the Share extension's ";;;from:extension"
  mailLink,         // a mail link goes to the applications that handle mail
  cleanLinks,       // "Clean Links": the link unwrapped and stripped of tracking parameters
  modifierKeys,     // the modifier-key rules
  rulePriority,     // which kind of rule is tried first
  applicationRule,  // the per-application rules
  onionRule,
  domainRules,
  defaultChoice,
  openedBrowser,  // "Use the opened browser": the first running known browser
  browsersList,   // the chooser
  profile,        // the profile kept beside the deciding rule, or the browser itself when it is gone
  launch,         // the browser named cannot be started this way
};

// A domain rule that matched, as explaining shows it.
struct MatchedDomainRule {
  std::string rule;     // the stored text
  std::string browser;  // its browser
  std::string reason;   // why it stands where it does among the matches
};

// One step: what it found, and whether it decided the link.
struct DecisionStep {
  DecisionStepKind kind;
  std::string finding;  // empty unless explaining
  bool decided = false;
  std::vector<MatchedDomainRule> matches;  // the domain rules step: every match, the deciding one first
};

// What becomes of the link.
enum class DecisionOutcome {
  none,           // nothing is opened (no link)
  launchBrowser,  // the browser named is started with the link
  browsersList,   // the chooser is shown for the link
  openWithMenu,   // a mail link: the applications that handle it are offered
};

// "RoutingDecision": what routing decided for one link and how it got there.
// Routing acts on it; explaining prints it. Steps and their words are only
// kept when explaining, so that routing a link costs no words and no list:
// routing only needs to know which kinds of step it has taken.
struct RoutingDecision {
  explicit RoutingDecision(bool withWords = false) : explaining(withWords) {
    if (explaining) steps.reserve(kUsualSteps);
  }
  static constexpr std::size_t kUsualSteps = 13;  // the longest road takes 12: one allocation per explanation

  bool explaining;
  std::string received;  // the link as it arrived
  std::string link;      // as the program handles it ("casa")
  std::optional<std::string> host;
  std::string path;
  std::vector<DecisionStep> steps;
  DecisionOutcome outcome = DecisionOutcome::none;
  std::string browser;                        // for launchBrowser
  std::string profile;                        // the browser's profile the deciding rule names ("Profile 1"), if any
  std::vector<std::string> profileArguments;  // the browser's own for that profile; none: it opens as itself
  std::string summary;                        // "Firefox — rule *.example.org", when explaining
  std::optional<bool> backgroundOnce;         // set by a modifier rule: its background key, present or not ("helpBack")
  std::optional<LaunchPlan> launch;           // how the browser would be started, when explaining

  // A step that did not decide; its words are made only when explaining.
  template <typename Words>
  void note(DecisionStepKind kind, Words finding) {
    taken(kind);
    if (explaining) steps.push_back({kind, finding(), false, {}});
  }
  // The step that decides, with the outcome.
  template <typename Words, typename Summary>
  void decide(DecisionStepKind kind, DecisionOutcome result, std::string browserName, Words finding,
              Summary summaryText) {
    taken(kind);
    if (explaining) steps.push_back({kind, finding(), true, {}});
    outcome = result;
    browser = std::move(browserName);
    if (explaining) summary = summaryText();
  }
  bool tried(DecisionStepKind kind) const { return (takenKinds_ & bitOf(kind)) != 0; }
  // Among the steps kept: explaining only.
  const DecisionStep* decidingStep() const {
    for (const auto& step : steps)
      if (step.decided) return &step;
    return nullptr;
  }

 private:
  static_assert(static_cast<int>(DecisionStepKind::launch) < 32, "one bit per kind of step");
  static constexpr std::uint32_t bitOf(DecisionStepKind kind) { return std::uint32_t{1} << static_cast<int>(kind); }
  void taken(DecisionStepKind kind) { takenKinds_ |= bitOf(kind); }
  std::uint32_t takenKinds_ = 0;  // every kind of step taken, explaining or not
};

}  // namespace routelle
