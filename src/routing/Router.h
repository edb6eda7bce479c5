#pragma once
#include <optional>
#include <string>

#include "platform/Events.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "routing/BrowserChooser.h"
#include "routing/BrowserLauncher.h"
#include "routing/LinkCleaner.h"
#include "routing/LinkMoment.h"
#include "routing/LinkRequest.h"
#include "routing/RoutingDecision.h"
#include "routing/RuleIndex.h"
#include "settings/RuleProfiles.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"

namespace routelle {

// Decides which browser opens the current link: a modifier rule, the onion,
// domain and per-application rules in the stored priority, or the default
// choice. The decision is a record (RoutingDecision): routing acts on it,
// explaining prints it, and both come from the one pass below.
class Router {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    const UrlParser& urls;
    Events& events;
    Workspace& workspace;
    LinkRequest& request;
    BrowserLauncher& launcher;
    BrowserChooser& chooser;
    const Trace& trace;
    // "Clean Links" applies to every link routed.
    LinkCleaner& cleaner;
  };
  explicit Router(const Dependencies& deps);

  // Routes the request's current link, on one consistent view of the settings.
  void routeLink();
  // The same decision for decision.link at the given moment, with its words and
  // how the browser would be started. Writes nothing, launches nothing, traces nothing.
  void explain(RoutingDecision& decision, const LinkMoment& moment);
  // "Use the opened browser": the first running known browser, else the chooser.
  void useOpenedBrowser();
  void handleNewWindowShortcut();

 private:
  struct Pass;
  void decide(Pass& pass);
  void applyCleaning(Pass& pass);  // "Clean Links"
  void decideByRules(Pass& pass);
  void decideWithPriority(Pass& pass, const std::string& priority);
  void decideByApplication(Pass& pass);
  void decideByDomain(Pass& pass);
  void decideByDefaultChoice(Pass& pass);
  void decideOpenedBrowser(Pass& pass, DecisionStepKind from);
  // The profile kept beside the deciding rule (`ruleName()`, a RuleProfiles name).
  template <typename RuleName>
  void keepRuleProfile(Pass& pass, RuleName ruleName);
  void resolveProfile(Pass& pass);
  void act(const RoutingDecision& decision);

  SettingsStore& settings_;
  const UrlParser& urls_;
  Events& events_;
  Workspace& workspace_;
  LinkRequest& request_;
  BrowserLauncher& launcher_;
  BrowserChooser& chooser_;
  const Trace& trace_;
  LinkCleaner& cleaner_;
  RuleProfiles ruleProfiles_{settings_};
  DomainRuleIndex domainRules_;
  AppRuleIndex appRules_;
};

}  // namespace routelle
