#pragma once
#include <string>

#include "platform/Presenter.h"
#include "platform/ProcessLauncher.h"
#include "platform/RunLoop.h"
#include "platform/ScriptRunner.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "routing/BrowserChooser.h"
#include "routing/LinkRequest.h"
#include "settings/BrowserRegistry.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Menu.h"

namespace routelle {

// Starts a browser with a link through the platform's open command; every road
// of a link ends here. Runs on its caller's thread (the tab watcher's, too).
class BrowserLauncher {
 public:
  BrowserLauncher(SettingsStore& settings, const BrowserRegistry& registry, LinkRequest& request, Presenter& presenter,
                  const Menu& statusMenu, const UrlParser& urls, Workspace& workspace, ProcessLauncher& processes,
                  ScriptRunner& scripts, RunLoop& runLoop, const Trace& trace);

  // Where a link goes when its browser cannot be started: the browsers list.
  void setChooser(BrowserChooser& chooser) { chooser_ = &chooser; }

  // The browser is a display name, a bundle file name with ".app", or a full path.
  // When it cannot be started the failure is reported on standard error and the
  // browsers list is shown for the link, so that the user picks another. The
  // program itself is never started with a link (it would hand the link back to
  // itself without end), whatever a setting names.
  void launchBrowser(const std::string& link, const std::string& browser);
  // The same from a thread other than the main one (the tab watcher's): the
  // browsers list, when needed, is shown from the main queue.
  void launchBrowserOffMainThread(const std::string& link, const std::string& browser);
  // Starts or activates the browser and, when it was running, asks for a new window.
  void openNewBrowserWindow(const std::string& browser);

 private:
  void launch(const std::string& link, const std::string& browser, bool onMainThread);
  bool isRunning(const std::string& browser);
  // Answers whether the browser was started with the link.
  bool start(const std::string& link, const std::string& browser, bool background);
  void offerOtherBrowsers(const std::string& link, const std::string& browser);

  SettingsStore& settings_;
  const BrowserRegistry& registry_;
  LinkRequest& request_;
  Presenter& presenter_;
  const Menu& statusMenu_;
  const UrlParser& urls_;
  Workspace& workspace_;
  ProcessLauncher& processes_;
  ScriptRunner& scripts_;
  RunLoop& runLoop_;
  const Trace& trace_;
  BrowserChooser* chooser_ = nullptr;
  bool offering_ = false;  // a failed launch from the list offered after a failure does not offer it again
};

}  // namespace routelle
