#include "routing/BrowserLauncher.h"

#include "routing/RunningBrowsers.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

constexpr const char* kOpen = "/usr/bin/open";
constexpr const char* kNewWindowScript =
    "delay 0.5\ntell application \"System Events\" to keystroke \"n\" using {command down}";

// "/Applications/" and the text, with ".app" appended unless it ends so already.
std::string applicationPath(const std::string& browser) {
  std::string path = "/Applications/" + browser;
  if (!path.ends_with(".app")) path += ".app";
  return path;
}

}  // namespace

BrowserLauncher::BrowserLauncher(SettingsStore& settings, LinkRequest& request, Presenter& presenter,
                                 const Menu& statusMenu, const UrlParser& urls, Workspace& workspace,
                                 ProcessLauncher& processes, ScriptRunner& scripts, const Trace& trace)
    : settings_(settings),
      request_(request),
      presenter_(presenter),
      statusMenu_(statusMenu),
      urls_(urls),
      workspace_(workspace),
      processes_(processes),
      scripts_(scripts),
      trace_(trace) {}

void BrowserLauncher::launchBrowser(const std::string& link, const std::string& browser) {
  trace_(browser);
  bool background = settings_.ensureBool(keys::background, false);
  if (request_.takeBackgroundOnce()) background = true;
  if (!request_.opensLink()) {
    openNewBrowserWindow(browser);
    return;
  }
  std::vector<std::string> args{"-g", "-a", applicationPath(browser), link};
  if (!background) {
    trace_(trace::foreground);
    args.erase(args.begin());
  }
  presenter_.cancelMenuTracking(statusMenu_);

  if (browser == "Helium") {
    const std::string url = "helium://" + link;
    if (!urls_.parse(url))
      trace_(trace::invalidUrl);
    else if (workspace_.openURL(url))
      trace_(trace::urlOpened);
  } else if (browser == "TorBrowser") {
    bool running = false;
    for (const auto& app : workspace_.runningApplications())
      running = running || app.localizedName == "TorBrowser" || app.localizedName == "Tor Browser";
    if (running) {
      processes_.runAndWait(kOpen, args);
    } else if (auto tor = workspace_.fullPathForApplication("TorBrowser")) {
      processes_.start(*tor + "/Contents/MacOS/firefox", {link});
    }
    // Not installed under that name: there is nothing to start.
  } else if (processes_.runAndWait(kOpen, args) == 1) {
    std::vector<std::string> retry{"-g", "-a", browser, link};
    if (!background) retry.erase(retry.begin());
    processes_.runAndWait(kOpen, retry);
  }
  request_.setOpensLink(true);
}

bool BrowserLauncher::isRunning(const std::string& browser) {
  for (const auto& app : workspace_.runningApplications())
    if (app.bundlePath && namesRunningBrowser(browser, runningBrowserName(*app.bundlePath, app.bundleIdentifier)))
      return true;
  return false;
}

void BrowserLauncher::openNewBrowserWindow(const std::string& browser) {
  request_.setOpensLink(true);
  const bool running = isRunning(browser);
  processes_.start(kOpen, {"-a", browser});
  if (running && scripts_.run(kNewWindowScript).ok) trace_(trace::newWindowScriptRan);
}

}  // namespace routelle
