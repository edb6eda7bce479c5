#pragma once
#include <optional>
#include <string>

#include "platform/Events.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "routing/BrowserChooser.h"
#include "routing/BrowserLauncher.h"
#include "routing/LinkCleaner.h"
#include "routing/LinkRequest.h"
#include "routing/RuleIndex.h"
#include "settings/RuleProfiles.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"

namespace routelle {

// Decides which browser opens the current link: a modifier rule, the onion,
// domain and per-application rules in the stored priority, or the default choice.
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
  // "Use the opened browser": the first running known browser, else the chooser.
  void useOpenedBrowser();
  void handleNewWindowShortcut();

  // What cleaning did to the last link routed; nothing when cleaning was off.
  const std::optional<CleanedLink>& lastCleaning() const { return lastCleaning_; }

 private:
  void routeLinkNow();
  void routeWithPriority(const std::string& priority, const std::optional<std::string>& host);
  void routeByApplication(const std::optional<std::string>& host);
  void routeByDomain(const std::optional<std::string>& host);
  void routeByDefaultChoice();
  // The rule's browser, in the profile stored beside the rule when there is one.
  void launchByRule(std::string_view rule, const std::string& browser);

  SettingsStore& settings_;
  const UrlParser& urls_;
  Events& events_;
  Workspace& workspace_;
  LinkRequest& request_;
  BrowserLauncher& launcher_;
  BrowserChooser& chooser_;
  const Trace& trace_;
  RuleProfiles ruleProfiles_{settings_};
  LinkCleaner& cleaner_;
  std::optional<CleanedLink> lastCleaning_;
  int fallbacks_ = 0;  // "mx": lets each rule kind fall through to the other once
  DomainRuleIndex domainRules_;
  AppRuleIndex appRules_;
};

}  // namespace routelle
