#include "routing/TabWatcher.h"

#include "routing/BrowserScripts.h"
#include "routing/LinkHost.h"
#include "routing/LinkText.h"
#include "routing/RunningBrowsers.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr const char* kQueueLabel = "com.kestrova.rtl";
constexpr double kInterval = 5.0;
constexpr double kLeeway = 1.0;
constexpr const char* kNotMoved = "tab left in place, not taken by ";

// The web tabs in the all-tabs script's answer, one URL a line; other tabs
// (about:blank, file:, "missing value" for a tab without one) stay out.
std::vector<std::string> webTabUrls(const std::string& answer) {
  std::vector<std::string> tabs;
  for (auto& line : text::split(answer, "\n")) {
    const std::string scheme = text::lowercased(line.substr(0, line.find(':')));
    if ((scheme == "http" || scheme == "https") && line.find("://") == scheme.size()) tabs.push_back(std::move(line));
  }
  return tabs;
}

// "www." as the host's first label, removed; one elsewhere ("newww.com") is part of the name.
std::string withoutLeadingWww(const std::string& host) { return host.starts_with("www.") ? host.substr(4) : host; }

// The close script: every tab of window 1 showing exactly that URL. Both texts
// are AppleScript string literals, escaped, so a page address can add nothing
// to the script.
std::string closeTabScript(const std::string& url, const std::string& browser) {
  return "set closeTab to " + browserscripts::quoted(url) + " as string\n" + "tell application " +
         browserscripts::quoted(browser) + "\n" + "close (every tab of window 1 whose URL is equal to closeTab)\n" +
         "end tell";
}

}  // namespace

TabWatcher::TabWatcher(const Dependencies& deps)
    : settings_(deps.settings),
      workspace_(deps.workspace),
      scripts_(deps.scripts),
      urls_(deps.urls),
      launcher_(deps.launcher),
      runLoop_(deps.runLoop),
      trace_(deps.trace) {}

TabWatcher::~TabWatcher() { stop(); }

void TabWatcher::start() {
  std::lock_guard lock(timerMutex_);
  if (timer_) return;
  timer_ = runLoop_.scheduleRepeating(kQueueLabel, 0, kInterval, kLeeway, [this] { scanBrowserTabs(); });
}

void TabWatcher::stop() {
  std::lock_guard lock(timerMutex_);
  if (timer_) runLoop_.cancelRepeating(*timer_);
  timer_.reset();
}

bool TabWatcher::isRunning() const {
  std::lock_guard lock(timerMutex_);
  return timer_.has_value();
}

void TabWatcher::scanBrowserTabs() {
  std::lock_guard lock(passMutex_);
  for (const auto& app : workspace_.runningApplications()) {
    if (!app.bundlePath) continue;
    const std::string name = appNameFromPath(*app.bundlePath);
    auto tabs = browserscripts::allTabsOf(name);
    if (!tabs) continue;
    trace_(name);
    moveTabsByDomainRules(name, *tabs);
  }
}

void TabWatcher::moveTabsByDomainRules(const std::string& browser, std::string_view tabsOfBrowser) {
  auto answer = scripts_.run(browserscripts::allTabsScript(browser, tabsOfBrowser));
  if (!answer.ok || answer.result.empty()) return;
  const auto tabs = webTabUrls(answer.result);
  if (tabs.empty()) return;
  settings_.ensureString(keys::defaultChoice, values::showBrowserList);
  settings_.ensureString(keys::rulePriority, values::priorityDomainsFirst);
  // One decoded list for the whole pass; undecodable or absent: no rules.
  const auto domains = settings_.sharedList(keys::domainRules);
  if (domains->state != StoredList::State::list) return;
  for (const auto& tab : tabs) {
    // A rule for the bare host or for its "www." form catches the tab (in any case).
    auto address = linkAddress(urls_, tab);
    if (!address.host) continue;
    const std::string bare = withoutLeadingWww(*address.host);
    if (bare.empty()) continue;
    auto ruleBrowser = domainRules_.browserFor(domains, bare, address.path);
    if (!ruleBrowser) ruleBrowser = domainRules_.browserFor(domains, "www." + bare, address.path);
    if (!ruleBrowser) continue;
    trace_(bare);
    // "Safari", "safari" and "Safari.app" are one browser: the tab is where the rule wants it.
    if (namesSameBrowser(*ruleBrowser, browser)) continue;
    // Closed only once the rule's browser has it; a tab no browser took stays where it is.
    if (!launcher_.openMovedTab(tab, *ruleBrowser)) {
      trace_(std::string(kNotMoved) + *ruleBrowser + ": " + tab);
      continue;
    }
    scripts_.run(closeTabScript(tab, browser));
  }
}

}  // namespace routelle
