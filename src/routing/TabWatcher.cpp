#include "routing/TabWatcher.h"

#include "routing/BrowserScripts.h"
#include "routing/LinkHost.h"
#include "routing/LinkText.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr const char* kQueueLabel = "com.kestrova.rtl";
constexpr double kInterval = 5.0;
constexpr double kLeeway = 1.0;

// The tab URLs in the text the browsers answer: every URL run together. Each
// piece after an "http" that continues as a web scheme is a tab; what sits
// between (a non-web tab) stays glued to the URL before it.
std::vector<std::string> splitTabUrls(const std::string& all) {
  std::vector<std::string> tabs;
  for (const auto& piece : text::split(all, "http"))
    if (piece.starts_with("s://") || piece.starts_with("://")) tabs.push_back("http" + piece);
  return tabs;
}

// The close script: every tab of window 1 showing exactly that URL. Both texts
// are AppleScript string literals, escaped, so a page address can add nothing
// to the script.
std::string closeTabScript(const std::string& url, const std::string& browser) {
  return "set closeTab to " + browserscripts::quoted(url) + " as string\n" + "tell application " +
         browserscripts::quoted(browser) + "\n" + "close (every tab of window 1 whose URL is equal to closeTab)\n" +
         "end tell";
}

}  // namespace

TabWatcher::TabWatcher(SettingsStore& settings, Workspace& workspace, ScriptRunner& scripts, const UrlParser& urls,
                       BrowserLauncher& launcher, RunLoop& runLoop, const Trace& trace)
    : settings_(settings),
      workspace_(workspace),
      scripts_(scripts),
      urls_(urls),
      launcher_(launcher),
      runLoop_(runLoop),
      trace_(trace) {}

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
    auto suffix = browserscripts::allTabsSuffix(name);
    if (!suffix) continue;
    trace_(name);
    moveTabsByDomainRules(name, *suffix);
  }
}

void TabWatcher::moveTabsByDomainRules(const std::string& browser, std::string_view suffix) {
  auto answer = scripts_.run(browserscripts::tellApplication(browser, suffix));
  if (!answer.ok || answer.result.empty()) return;
  const auto tabs = splitTabUrls(answer.result);
  if (tabs.empty()) return;
  settings_.ensureString(keys::login, values::showBrowserList);
  settings_.ensureString(keys::priority, values::priorityDomainsFirst);
  // One decoded list for the whole pass; undecodable or absent: no rules.
  const auto domains = settings_.sharedList(keys::domains);
  if (domains->state != StoredList::State::list) return;
  for (const auto& tab : tabs) {
    // A rule for the bare host or for its "www." form catches the tab (in any case).
    auto host = linkHost(urls_, tab);
    if (!host) continue;
    host = text::replaceAll(*host, "www.", "");
    if (host->empty()) continue;
    auto ruleBrowser = domainRules_.browserFor(domains, *host);
    if (!ruleBrowser) ruleBrowser = domainRules_.browserFor(domains, "www." + *host);
    if (!ruleBrowser) continue;
    trace_(*host);
    if (*ruleBrowser == browser) continue;
    scripts_.run(closeTabScript(tab, browser));
    launcher_.launchBrowserOffMainThread(tab, *ruleBrowser);
  }
}

}  // namespace routelle
