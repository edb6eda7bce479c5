#include "routing/Router.h"

#include "routing/LinkHost.h"
#include "routing/RunningBrowsers.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

struct ModifierRule {
  std::uint64_t flags;
  std::string_view key;
};

// Only exactly one of these keys selects a rule.
constexpr ModifierRule kModifierRules[] = {
    {modifierFlags::shift, keys::shiftRule},
    {modifierFlags::control, keys::controlRule},
    {modifierFlags::option, keys::optionRule},
    {modifierFlags::command, keys::commandRule},
};

}  // namespace

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
  settings_.snapshot([this] { routeLinkNow(); });
}

void Router::routeLinkNow() {
  // The rules see where a wrapped link really goes, and the browser opens that.
  lastCleaning_ = cleaner_.cleanIfEnabled(request_.currentLink());
  if (lastCleaning_ && lastCleaning_->changed()) request_.setCurrentLink(lastCleaning_->after);
  const std::string link = request_.currentLink();
  const auto host = linkHost(urls_, link);
  const std::uint64_t flags = events_.modifierFlags();
  const ModifierRule* selected = nullptr;
  for (const auto& rule : kModifierRules)
    if (flags == rule.flags) selected = &rule;
  if (!selected) trace_(trace::noModifierRule);

  if (selected) {
    if (auto value = settings_.getString(selected->key)) {
      request_.setBackgroundOnce(settings_.contains(std::string(selected->key) + std::string(keys::backgroundSuffix)));
      if (*value == values::showBrowsersList)
        chooser_.showBrowsersList();
      else if (*value == values::useOpenedBrowser)
        useOpenedBrowser();
      else
        launchByRule(RuleProfiles::modifierRule(selected->key), text::replaceAll(*value, ".app", ""));
      return;
    }
  }
  if (!settings_.contains(keys::defaultChoice)) trace_(trace::defaultChoiceMissing);
  settings_.ensureString(keys::defaultChoice, values::showBrowserList);
  const std::string priority = settings_.ensureString(keys::rulePriority, values::priorityDomainsFirst);
  fallbacks_ = 0;
  routeWithPriority(priority, host);
}

void Router::routeWithPriority(const std::string& priority, const std::optional<std::string>& host) {
  if (priority == values::priorityDomainsFirst) {
    routeByDomain(host);
  } else if (priority != values::priorityAppsFirst) {
    trace_(trace::unknownPriority);
    routeByDomain(host);
  } else {
    routeByApplication(host);
  }
}

void Router::routeByApplication(const std::optional<std::string>& host) {
  auto perApp = settings_.sharedList(keys::appRules);
  if (perApp->state != StoredList::State::list) {
    routeByDomain(host);
    return;
  }
  const auto previous = request_.previousApplication();
  if (previous && !previous->localizedName.empty()) {
    if (auto browser = appRules_.browserFor(perApp, previous->localizedName)) {
      launchByRule(RuleProfiles::appRule(previous->localizedName), *browser);
      return;
    }
  }
  if (fallbacks_ < 1) {
    ++fallbacks_;
    routeByDomain(host);
  } else {
    trace_(trace::rulesExhausted);
    routeByDefaultChoice();
  }
}

void Router::routeByDomain(const std::optional<std::string>& host) {
  // A link without a host matches no onion or domain rule and falls through.
  if (host) {
    if (auto onion = settings_.getString(keys::onionRule)) {
      const size_t pieces = text::split(*host, ".onion").size();
      if (pieces > 1) {
        trace_(std::to_string(pieces));
        launchByRule(RuleProfiles::onionRule, *onion);
        return;
      }
    }
    // No stored domain list is an empty one: the per-application rules still get
    // their turn before the default choice.
    if (auto browser = domainRules_.browserFor(settings_.sharedList(keys::domainRules), *host)) {
      launchByRule(RuleProfiles::domainRule(*host), *browser);
      return;
    }
  }
  if (fallbacks_ < 1) {
    ++fallbacks_;
    routeWithPriority(std::string(values::priorityAppsFirst), host);
  } else {
    routeByDefaultChoice();
  }
}

void Router::routeByDefaultChoice() {
  trace_(trace::defaultChoice);
  const std::string login = settings_.getString(keys::defaultChoice).value_or("");
  if (login == values::showBrowserList)
    chooser_.showBrowsersList();
  else if (login == values::useOpenedBrowser)
    useOpenedBrowser();
  else
    launchByRule(RuleProfiles::defaultRule, login);
}

void Router::launchByRule(std::string_view rule, const std::string& browser) {
  if (auto profile = ruleProfiles_.profileFor(rule, browser))
    launcher_.launchBrowser(request_.currentLink(), browser, *profile);
  else
    launcher_.launchBrowser(request_.currentLink(), browser);
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
