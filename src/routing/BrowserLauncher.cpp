// Starting a browser with the link, through the platform's open command.
#include "app/AppDelegate.h"
#include "settings/Keys.h"
#include "support/Text.h"

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

void AppDelegate::launchBrowser(const std::string& link, const std::string& browser) {
  trace(browser);
  bool background = s_.settings.ensureBool(keys::background, false);
  if (helpBack.exchange(false)) background = true;
  if (!som) {
    openNewBrowserWindow(browser);
    som = true;
    return;
  }
  std::vector<std::string> args{"-g", "-a", applicationPath(browser), link};
  if (!background) {
    trace("not background");
    args.erase(args.begin());
  }
  s_.presenter.cancelMenuTracking(menux);

  if (browser == "Helium") {
    const std::string url = "helium://" + link;
    if (!s_.urls.parse(url))
      trace("invalid url");
    else if (s_.workspace.openURL(url))
      trace("url successfully opened");
  } else if (browser == "TorBrowser") {
    bool running = false;
    for (const auto& app : s_.workspace.runningApplications())
      running = running || app.localizedName == "TorBrowser" || app.localizedName == "Tor Browser";
    if (running) {
      s_.processes.runAndWait(kOpen, args);
    } else if (auto tor = s_.workspace.fullPathForApplication("TorBrowser")) {
      s_.processes.start(*tor + "/Contents/MacOS/firefox", {link});
    }
    // Not installed under that name: there is nothing to start.
  } else if (s_.processes.runAndWait(kOpen, args) == 1) {
    std::vector<std::string> retry{"-g", "-a", browser, link};
    if (!background) retry.erase(retry.begin());
    s_.processes.runAndWait(kOpen, retry);
  }
  som = true;
}

void AppDelegate::openNewBrowserWindow(const std::string& browser) {
  som = true;
  bool running = false;
  for (const auto& app : s_.workspace.runningApplications()) {
    if (!app.bundlePath) continue;
    std::string name = text::replaceAll(text::lastPathComponent(*app.bundlePath), ".app", "");
    if (name == "Opera" && app.bundleIdentifier == "com.operasoftware.OperaDeveloper") name = "Opera Developer";
    running = running || browser == text::capitalized(name) || browser == name;
  }
  s_.processes.start(kOpen, {"-a", browser});
  if (running && s_.scripts.run(kNewWindowScript).ok) trace("success");
}

}  // namespace routelle
