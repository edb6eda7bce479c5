// Which browser opens the current link: modifier keys, rules, default choice.
#include "app/AppDelegate.h"
#include "settings/Keys.h"
#include "settings/KnownBrowsers.h"
#include "support/Text.h"

namespace routelle {
namespace {

struct ModifierRule {
  std::uint64_t flags;
  std::string_view key;
};

constexpr ModifierRule kModifierRules[] = {
    {modifierFlags::shift, keys::shift},
    {modifierFlags::control, keys::ctrl},
    {modifierFlags::option, keys::alt},
    {modifierFlags::command, keys::command},
};

bool isKnownBrowserName(const std::string& name) {
  for (auto known : knownBrowserNames)
    if (known == name) return true;
  return false;
}

}  // namespace

std::optional<std::string> AppDelegate::hostOf(const std::string& link) const {
  auto url = s_.urls.parse(link);
  if (!url || !url->host) return std::nullopt;
  return url->host;
}

void AppDelegate::routeLink() {
  // One link is decided on one consistent view of the settings.
  s_.settings.snapshot([this] { routeLinkNow(); });
}

void AppDelegate::routeLinkNow() {
  const auto host = hostOf(casa);
  const std::uint64_t flags = s_.events.modifierFlags();
  const ModifierRule* selected = nullptr;
  for (const auto& rule : kModifierRules)
    if (flags == rule.flags) selected = &rule;
  if (!selected) trace("none");

  if (selected) {
    if (auto value = s_.settings.getString(selected->key)) {
      helpBack = s_.settings.contains(std::string(selected->key) + std::string(keys::backSuffix));
      if (*value == values::showBrowsersList)
        showBrowsersList();
      else if (*value == values::useOpenedBrowser)
        useOpenedBrowser();
      else
        launchBrowser(casa, text::replaceAll(*value, ".app", ""));
      return;
    }
  }
  if (!s_.settings.contains(keys::login)) trace("login==nil");
  s_.settings.ensureString(keys::login, values::showBrowserList);
  const std::string priority = s_.settings.ensureString(keys::priority, values::priorityDomainsFirst);
  mx = 0;
  routeWithPriority(priority, host);
}

void AppDelegate::routeWithPriority(const std::string& priority, const std::optional<std::string>& host) {
  if (priority == values::priorityDomainsFirst) {
    routeByDomain(host);
  } else if (priority != values::priorityAppsFirst) {
    trace("default");
    routeByDomain(host);
  } else {
    routeByApplication(host);
  }
}

void AppDelegate::routeByApplication(const std::optional<std::string>& host) {
  auto perApp = s_.settings.sharedList(keys::perApp);
  if (perApp->state != StoredList::State::list) {
    routeByDomain(host);
    return;
  }
  if (previousApp && !previousApp->localizedName.empty()) {
    if (auto browser = appRuleBrowser(perApp, previousApp->localizedName)) {
      launchBrowser(casa, *browser);
      return;
    }
  }
  if (mx < 1) {
    ++mx;
    routeByDomain(host);
  } else {
    trace("22222");
    routeByDefaultChoice();
  }
}

std::optional<std::string> AppDelegate::appRuleBrowser(const std::shared_ptr<const StoredList>& perApp,
                                                       const std::string& application) {
  if (perApp != indexedApps_) {
    appIndex_.clear();
    for (const auto& element : perApp->items) {
      // An element without the separator is one part: application and browser at once.
      auto parts = text::split(element, kAppRuleSeparator);
      appIndex_.try_emplace(parts.back(), parts.front());
    }
    indexedApps_ = perApp;
  }
  auto hit = appIndex_.find(application);
  if (hit == appIndex_.end()) return std::nullopt;
  return hit->second;
}

std::optional<std::string> AppDelegate::domainRuleBrowser(const std::string& host) {
  auto domains = s_.settings.sharedList(keys::domains);
  if (domains != indexedDomains_) {
    domainIndex_.clear();
    for (size_t i = 1; i + 1 < domains->items.size(); i += 2) domainIndex_.try_emplace(domains->items[i], i);
    indexedDomains_ = domains;
  }
  auto hit = domainIndex_.find(host);
  if (hit == domainIndex_.end()) return std::nullopt;
  return indexedDomains_->items[hit->second + 1];
}

void AppDelegate::routeByDomain(const std::optional<std::string>& host) {
  // A link without a host matches no onion or domain rule and falls through.
  if (host) {
    if (auto onion = s_.settings.getString(keys::onion)) {
      const size_t pieces = text::split(*host, ".onion").size();
      if (pieces > 1) {
        trace(std::to_string(pieces));
        launchBrowser(casa, *onion);
        return;
      }
    }
  }
  // No stored domain list is an empty one: the per-application rules still get
  // their turn before the default choice.
  if (host) {
    if (auto browser = domainRuleBrowser(*host)) {
      launchBrowser(casa, *browser);
      return;
    }
  }
  if (mx < 1) {
    ++mx;
    routeWithPriority(std::string(values::priorityAppsFirst), host);
  } else {
    routeByDefaultChoice();
  }
}

void AppDelegate::routeByDefaultChoice() {
  trace("go now");
  const std::string login = s_.settings.getString(keys::login).value_or("");
  if (login == values::showBrowserList)
    showBrowsersList();
  else if (login == values::useOpenedBrowser)
    useOpenedBrowser();
  else
    launchBrowser(casa, login);
}

std::optional<std::string> AppDelegate::firstRunningKnownBrowser() {
  for (const auto& app : s_.workspace.runningApplications()) {
    if (!app.bundlePath) continue;
    std::string name = text::replaceAll(text::lastPathComponent(*app.bundlePath), ".app", "");
    if (name == "Opera" && app.bundleIdentifier == "com.operasoftware.OperaDeveloper") name = "Opera Developer";
    if (isKnownBrowserName(text::capitalized(name)) || isKnownBrowserName(name)) return name;
  }
  return std::nullopt;
}

void AppDelegate::useOpenedBrowser() {
  if (auto browser = firstRunningKnownBrowser())
    launchBrowser(casa, *browser);
  else
    showBrowsersList();
}

void AppDelegate::setPreviousApplication(std::optional<RunningApplication> app) { previousApp = std::move(app); }

void AppDelegate::setDefaultChoice(const MenuItem& sender) {
  std::string title = text::replaceAll(sender.title, "✓", "");
  while (!title.empty() && title.back() == ' ') title.pop_back();
  trace("login==nil");
  s_.settings.setString(keys::login, title == values::showBrowsersList ? values::showBrowserList : title);
  captureFrontTabURL();
  scheduleMenuRefresh();
}

void AppDelegate::handleNewWindowShortcut() {
  trace("PRESSED");
  if (!s_.settings.contains(keys::login)) trace("login==nil");
  const std::string login = s_.settings.ensureString(keys::login, values::showBrowserList);
  auto popChooser = [this] {
    som = false;
    buildBrowsersListMenu();
    if (auto chosen = s_.presenter.popUpMenu(menu, s_.events.mouseLocation())) perform(chosen->action, *chosen);
  };
  if (login == values::showBrowserList) {
    popChooser();
  } else if (login == values::useOpenedBrowser) {
    if (auto browser = firstRunningKnownBrowser())
      openNewBrowserWindow(*browser);
    else
      popChooser();
  } else {
    openNewBrowserWindow(login);
  }
}

}  // namespace routelle
