#include "routing/Router.h"

#include "routing/LinkHost.h"
#include "routing/RunningBrowsers.h"
#include "settings/BrowserProfiles.h"
#include "settings/Keys.h"
#include "settings/RuleProfiles.h"
#include "support/Text.h"

namespace routelle {
namespace {

struct ModifierRule {
  std::uint64_t flags;
  std::string_view key;
  std::string_view name;  // as the user knows the key
};

// Only exactly one of these keys selects a rule.
constexpr ModifierRule kModifierRules[] = {
    {modifierFlags::shift, keys::shiftRule, "shift"},
    {modifierFlags::control, keys::controlRule, "control"},
    {modifierFlags::option, keys::optionRule, "option"},
    {modifierFlags::command, keys::commandRule, "command"},
};

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string heldKeys(std::uint64_t flags) {
  constexpr std::pair<std::uint64_t, std::string_view> kNames[] = {
      {modifierFlags::shift, "shift"},        {modifierFlags::control, "control"},
      {modifierFlags::option, "option"},      {modifierFlags::command, "command"},
      {modifierFlags::capsLock, "caps lock"}, {modifierFlags::function, "function"},
  };
  std::string names;
  for (const auto& [flag, name] : kNames)
    if (flags & flag) names += (names.empty() ? "" : " and ") + std::string(name);
  return names.empty() ? "other keys" : names;
}

std::string ruleKindName(DomainRuleText::Kind kind) {
  switch (kind) {
    case DomainRuleText::Kind::host:
      return "host";
    case DomainRuleText::Kind::hostPath:
      return "host and path";
    case DomainRuleText::Kind::site:
      return "whole site";
    case DomainRuleText::Kind::sitePath:
      return "whole site and path";
  }
  return "";
}

bool namesSite(DomainRuleText::Kind kind) {
  return kind == DomainRuleText::Kind::site || kind == DomainRuleText::Kind::sitePath;
}

// Why `winner` comes before `other`, both matching one link.
std::string precedence(const DomainRuleMatch& winner, const DomainRuleMatch& other) {
  if (!namesSite(winner.kind) && namesSite(other.kind)) return "an exact host comes before a whole site";
  if (winner.hostLength != other.hostLength) return "a longer site comes before a shorter one";
  if (other.pathLength == 0) return "a rule with a path comes before the same host without one";
  return "a longer path prefix comes before a shorter one";
}

std::vector<MatchedDomainRule> explainedMatches(std::span<const std::string_view> items,
                                                const std::vector<DomainRuleMatch>& matches) {
  std::vector<MatchedDomainRule> out;
  for (std::size_t i = 0; i < matches.size(); ++i) {
    const auto& match = matches[i];
    std::string reason = ruleKindName(match.kind) + ": ";
    if (i > 0)
      reason += "yields, " + precedence(matches.front(), match);
    else if (matches.size() == 1)
      reason += "the only rule that matches";
    else
      reason += "decides, the most specific rule that matches";
    out.push_back({std::string(items[match.position]), std::string(items[match.position + 1]), std::move(reason)});
  }
  return out;
}

}  // namespace

// One decision in the making. Routing traces its lines and writes the first-use
// defaults it reads; explaining does neither.
struct Router::Pass {
  RoutingDecision& decision;
  const LinkMoment& moment;
  bool routing;
  const Trace& trace;
  int fallbacks = 0;  // "mx": lets each rule kind fall through to the other once

  void traceLine(std::string_view line) const {
    if (routing) trace(line);
  }
  // A rule kind consulted a second time (a missing list falls through twice) is shown once.
  template <typename Words>
  void noteOnce(DecisionStepKind kind, Words words) {
    if (!decision.tried(kind)) decision.note(kind, words);
  }
};

Router::Router(const Dependencies& deps)
    : settings_(deps.settings),
      urls_(deps.urls),
      events_(deps.events),
      workspace_(deps.workspace),
      request_(deps.request),
      launcher_(deps.launcher),
      chooser_(deps.chooser),
      trace_(deps.trace),
      cleaner_(deps.cleaner) {}

void Router::routeLink() {
  RoutingDecision decision;
  settings_.snapshot([&] {
    decision.link = request_.currentLink();
    const LinkMoment moment{events_.modifierFlags(), request_.previousApplication(), std::nullopt};
    Pass pass{decision, moment, true, trace_};
    decide(pass);
    act(decision);
  });
}

void Router::explain(RoutingDecision& decision, const LinkMoment& moment) {
  settings_.snapshot([&] {
    Pass pass{decision, moment, false, trace_};
    decide(pass);
    if (decision.outcome != DecisionOutcome::launchBrowser) return;
    const bool background =
        settings_.getBool(keys::openInBackground).value_or(false) || decision.backgroundOnce.value_or(false);
    decision.launch =
        launcher_.plan(decision.link, decision.browser, background, moment.running, decision.profileArguments);
    if (decision.launch->way == LaunchPlan::Way::refused)
      decision.note(DecisionStepKind::launch, [&] { return decision.launch->reason; });
  });
}

void Router::act(const RoutingDecision& decision) {
  // The browsers list, and whatever follows, offer the link as cleaned.
  if (!request_.isCurrentLink(decision.link)) request_.setCurrentLink(decision.link);
  if (decision.backgroundOnce) request_.setBackgroundOnce(*decision.backgroundOnce);
  switch (decision.outcome) {
    case DecisionOutcome::launchBrowser:
      if (decision.profileArguments.empty())
        launcher_.launchBrowser(decision.link, decision.browser);
      else
        launcher_.launchInProfile(decision.link, decision.browser, decision.profileArguments);
      break;
    case DecisionOutcome::browsersList:
      chooser_.showBrowsersList();
      break;
    case DecisionOutcome::openWithMenu:
    case DecisionOutcome::none:
      break;
  }
}

void Router::decide(Pass& pass) {
  applyCleaning(pass);
  decideByRules(pass);
  resolveProfile(pass);
}

void Router::applyCleaning(Pass& pass) {
  auto& d = pass.decision;
  auto cleaning = cleaner_.cleanIfEnabled(d.link);
  if (!cleaning) return;
  if (!cleaning->changed()) {
    d.note(DecisionStepKind::cleanLinks, [] { return std::string("nothing to clean"); });
    return;
  }
  d.note(DecisionStepKind::cleanLinks, [&] {
    std::string entries;
    for (const auto& entry : cleaning->changedBy) entries += (entries.empty() ? "" : ", ") + quoted(entry);
    return cleaning->before + " -> " + cleaning->after + " (by " + entries + ")";
  });
  // The rules see where a wrapped link really goes, and the browser opens that.
  d.link = std::move(cleaning->after);
}

void Router::decideByRules(Pass& pass) {
  auto& d = pass.decision;
  auto address = linkAddress(urls_, d.link);
  d.host = std::move(address.host);
  d.path = std::move(address.path);
  const std::uint64_t flags = pass.moment.modifierFlags;
  const ModifierRule* selected = nullptr;
  for (const auto& rule : kModifierRules)
    if (flags == rule.flags) selected = &rule;
  if (!selected) {
    pass.traceLine(trace::noModifierRule);
    d.note(DecisionStepKind::modifierKeys, [&] {
      if (flags == 0) return std::string("no modifier key held");
      return heldKeys(flags) + " held: only one of shift, control, option or command alone selects a rule";
    });
  } else if (auto value = settings_.getString(selected->key)) {
    d.backgroundOnce = settings_.contains(std::string(selected->key) + std::string(keys::backgroundSuffix));
    const std::string held = std::string(selected->name) + " held";
    const std::string inBackground = *d.backgroundOnce ? ", in the background" : "";
    if (*value == values::showBrowsersList) {
      d.decide(
          DecisionStepKind::modifierKeys, DecisionOutcome::browsersList, "",
          [&] { return held + ": its rule shows the browsers list"; }, [&] { return "Browsers list — " + held; });
    } else if (*value == values::useOpenedBrowser) {
      d.note(DecisionStepKind::modifierKeys,
             [&] { return held + ": its rule uses the opened browser" + inBackground; });
      decideOpenedBrowser(pass, DecisionStepKind::modifierKeys);
    } else {
      std::string browser = text::replaceAll(*value, ".app", "");
      d.decide(
          DecisionStepKind::modifierKeys, DecisionOutcome::launchBrowser, browser,
          [&] { return held + ": its rule names " + quoted(*value) + inBackground; },
          [&] { return browser + " — " + held; });
      keepRuleProfile(pass, [&] { return RuleProfiles::modifierRule(selected->key); });
    }
    return;
  } else {
    d.note(DecisionStepKind::modifierKeys, [&] {
      return std::string(selected->name) + " held, but no rule is set for it (" + quoted(selected->key) + ")";
    });
  }

  std::string priority;
  if (pass.routing) {
    // One read when the choice is stored, as it is after the first link.
    if (!settings_.getString(keys::defaultChoice)) {
      if (!settings_.contains(keys::defaultChoice)) trace_(trace::defaultChoiceMissing);
      settings_.ensureString(keys::defaultChoice, values::showBrowserList);
    }
    priority = settings_.ensureString(keys::rulePriority, values::priorityDomainsFirst);
  } else {
    priority = settings_.getString(keys::rulePriority).value_or(std::string(values::priorityDomainsFirst));
  }
  d.note(DecisionStepKind::rulePriority, [&] {
    const std::string stored = "\"priority\" is " + quoted(priority);
    if (priority == values::priorityAppsFirst) return stored + ": per-application rules first";
    if (priority == values::priorityDomainsFirst) return stored + ": domain rules first";
    return stored + ", read as \"0\": domain rules first";
  });
  pass.fallbacks = 0;
  decideWithPriority(pass, priority);
}

void Router::decideWithPriority(Pass& pass, const std::string& priority) {
  if (priority == values::priorityDomainsFirst) {
    decideByDomain(pass);
  } else if (priority != values::priorityAppsFirst) {
    pass.traceLine(trace::unknownPriority);
    decideByDomain(pass);
  } else {
    decideByApplication(pass);
  }
}

void Router::decideByApplication(Pass& pass) {
  auto& d = pass.decision;
  auto perApp = settings_.sharedList(keys::appRules);
  if (perApp->state != StoredList::State::list) {
    pass.noteOnce(DecisionStepKind::applicationRule, [] { return std::string("no per-application rules are stored"); });
    decideByDomain(pass);
    return;
  }
  const auto& previous = pass.moment.previousApplication;
  if (previous && !previous->localizedName.empty()) {
    if (auto browser = appRules_.browserFor(perApp, previous->localizedName)) {
      d.decide(
          DecisionStepKind::applicationRule, DecisionOutcome::launchBrowser, *browser,
          [&] {
            return previous->localizedName + " was the last active application: its rule names " + quoted(*browser);
          },
          [&] { return *browser + " — rule for " + previous->localizedName; });
      keepRuleProfile(pass, [&] { return RuleProfiles::appRule(previous->localizedName); });
      return;
    }
  }
  pass.noteOnce(DecisionStepKind::applicationRule, [&] {
    if (!previous || previous->localizedName.empty()) return std::string("no application was active before");
    return "no rule for " + previous->localizedName + ", the last active application";
  });
  if (pass.fallbacks < 1) {
    ++pass.fallbacks;
    decideByDomain(pass);
  } else {
    pass.traceLine(trace::rulesExhausted);
    decideByDefaultChoice(pass);
  }
}

void Router::decideByDomain(Pass& pass) {
  auto& d = pass.decision;
  // A link without a host matches no onion or domain rule and falls through.
  if (d.host) {
    const std::string& host = *d.host;
    if (auto onion = settings_.getString(keys::onionRule)) {
      // As many pieces as splitting at ".onion" gives, without making them on every link.
      size_t pieces = 1;
      for (size_t at = host.find(".onion"); at != std::string::npos; at = host.find(".onion", at + 6)) ++pieces;
      if (pieces > 1) {
        pass.traceLine(std::to_string(pieces));
        d.decide(
            DecisionStepKind::onionRule, DecisionOutcome::launchBrowser, *onion,
            [&] { return "the host contains \".onion\": the onion rule names " + quoted(*onion); },
            [&] { return *onion + " — onion rule"; });
        keepRuleProfile(pass, [] { return RuleProfiles::onionRule; });
        return;
      }
      pass.noteOnce(DecisionStepKind::onionRule, [] { return std::string("the host holds no \".onion\""); });
    } else {
      pass.noteOnce(DecisionStepKind::onionRule, [] { return std::string("no onion rule is set"); });
    }
    // No stored domain list is an empty one: the per-application rules still get
    // their turn before the default choice.
    const auto domains = settings_.sharedList(keys::domainRules);
    if (d.explaining) {
      const auto matches = domainRules_.matchesFor(domains, host, d.path);
      if (!matches.empty()) {
        const std::string winner(domains->items[matches.front().position]);
        const std::string browser(domains->items[matches.front().position + 1]);
        d.decide(
            DecisionStepKind::domainRules, DecisionOutcome::launchBrowser, browser,
            [&] {
              return std::to_string(matches.size()) + (matches.size() == 1 ? " rule matches" : " rules match") + ": " +
                     quoted(winner) + " decides";
            },
            [&] { return browser + " — rule " + winner; });
        d.steps.back().matches = explainedMatches(domains->items, matches);
        keepRuleProfile(pass, [&] { return RuleProfiles::domainRule(winner); });
        return;
      }
    } else if (auto position = domainRules_.decidingPosition(domains, host, d.path)) {
      d.decide(
          DecisionStepKind::domainRules, DecisionOutcome::launchBrowser, std::string(domains->items[*position + 1]),
          [] { return ""; }, [] { return ""; });
      keepRuleProfile(pass, [&] { return RuleProfiles::domainRule(domains->items[*position]); });
      return;
    }
    pass.noteOnce(DecisionStepKind::domainRules, [&] { return "no rule matches " + host + d.path; });
  } else {
    pass.noteOnce(DecisionStepKind::domainRules,
                  [] { return std::string("the link has no host: no onion or domain rule can match"); });
  }
  if (pass.fallbacks < 1) {
    ++pass.fallbacks;
    decideWithPriority(pass, std::string(values::priorityAppsFirst));
  } else {
    decideByDefaultChoice(pass);
  }
}

void Router::decideByDefaultChoice(Pass& pass) {
  auto& d = pass.decision;
  pass.traceLine(trace::defaultChoice);
  // Routing has stored the first-use default by now; explaining reads it as routing would.
  const std::string login = settings_.getString(keys::defaultChoice)
                                .value_or(pass.routing ? std::string() : std::string(values::showBrowserList));
  if (login == values::showBrowserList) {
    d.decide(
        DecisionStepKind::defaultChoice, DecisionOutcome::browsersList, "",
        [] { return std::string("no rule decided; the default choice is the browsers list"); },
        [] { return std::string("Browsers list — no rule matched, default is the list"); });
  } else if (login == values::useOpenedBrowser) {
    d.note(DecisionStepKind::defaultChoice,
           [] { return std::string("no rule decided; the default choice is the opened browser"); });
    decideOpenedBrowser(pass, DecisionStepKind::defaultChoice);
  } else {
    d.decide(
        DecisionStepKind::defaultChoice, DecisionOutcome::launchBrowser, login,
        [&] { return "no rule decided; the default choice is " + quoted(login); },
        [&] { return login + " — no rule matched, default is " + login; });
    keepRuleProfile(pass, [] { return RuleProfiles::defaultRule; });
  }
}

void Router::decideOpenedBrowser(Pass& pass, DecisionStepKind from) {
  auto& d = pass.decision;
  const auto running = pass.moment.running ? firstRunningKnownBrowser(*pass.moment.running)
                                           : firstRunningKnownBrowser(workspace_.runningApplications());
  const std::string why = from == DecisionStepKind::modifierKeys ? "the key's rule" : "the default choice";
  if (running) {
    d.decide(
        DecisionStepKind::openedBrowser, DecisionOutcome::launchBrowser, *running,
        [&] { return *running + " is the first running known browser"; },
        [&] { return *running + " — the opened browser, as " + why + " says"; });
  } else {
    d.decide(
        DecisionStepKind::browsersList, DecisionOutcome::browsersList, "",
        [] { return std::string("no known browser is running: the browsers list is shown"); },
        [&] { return "Browsers list — no known browser is running for " + why; });
  }
}

template <typename RuleName>
void Router::keepRuleProfile(Pass& pass, RuleName ruleName) {
  auto& d = pass.decision;
  if (auto profile = ruleProfiles_.profileFor(ruleName, d.browser)) d.profile = std::move(*profile);
}

void Router::resolveProfile(Pass& pass) {
  auto& d = pass.decision;
  if (d.outcome != DecisionOutcome::launchBrowser) return;
  if (d.profile.empty()) {
    // A browser chosen as "BROWSER — PROFILE" names its profile itself.
    auto titled = launcher_.profileTitle(d.browser);
    if (!titled) return;
    d.browser = std::move(titled->browser);
    d.profile = std::move(titled->profile);
  }
  if (auto arguments = launcher_.profileArguments(d.link, d.browser, d.profile)) {
    d.profileArguments = std::move(*arguments);
    d.note(DecisionStepKind::profile, [&] { return d.browser + " opens in its profile " + quoted(d.profile); });
    return;
  }
  std::string why = BrowserLauncher::profileFallback(d.link, d.browser, d.profile);
  pass.traceLine(why);
  d.note(DecisionStepKind::profile, [&] { return std::move(why); });
}

void Router::useOpenedBrowser() {
  if (auto browser = firstRunningKnownBrowser(workspace_))
    launcher_.launchBrowser(request_.currentLink(), *browser);
  else
    chooser_.showBrowsersList();
}

void Router::handleNewWindowShortcut() {
  trace_(trace::shortcutPressed);
  if (!settings_.contains(keys::defaultChoice)) trace_(trace::defaultChoiceMissing);
  const std::string login = settings_.ensureString(keys::defaultChoice, values::showBrowserList);
  auto popChooser = [this] {
    request_.setOpensLink(false);
    chooser_.popUpBrowsersMenu();
  };
  if (login == values::showBrowserList) {
    popChooser();
  } else if (login == values::useOpenedBrowser) {
    if (auto browser = firstRunningKnownBrowser(workspace_))
      launcher_.openNewBrowserWindow(*browser);
    else
      popChooser();
  } else {
    launcher_.openNewBrowserWindow(login);
  }
}

}  // namespace routelle
