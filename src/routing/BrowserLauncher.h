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
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    const BrowserRegistry& registry;
    LinkRequest& request;
    Presenter& presenter;
    const Menu& statusMenu;
    const UrlParser& urls;
    Workspace& workspace;
    ProcessLauncher& processes;
    ScriptRunner& scripts;
    RunLoop& runLoop;
    const Trace& trace;
    // Where a link goes when its browser cannot be started: the browsers list.
    BrowserChooser& chooser;
  };
  explicit BrowserLauncher(const Dependencies& deps);

  // The browser is a display name, a bundle file name with ".app", or a full path.
  // When it cannot be started the failure is reported on standard error and the
  // browsers list is shown for the link, so that the user picks another. The
  // program itself is never started with a link (it would hand the link back to
  // itself without end), whatever a setting names.
  void launchBrowser(const std::string& link, const std::string& browser);
  // A tab the tab watcher moves, from its thread: always opened with its URL and
  // the "background" setting alone, so the user's pending requests (the one-shot
  // background override, the new-window request) stay for the link they were
  // made for. Nothing is offered when it fails (the tab stays where it is), and
  // what belongs to the main thread is posted there. Answers whether the browser
  // took the URL.
  bool openMovedTab(const std::string& url, const std::string& browser);
  // Starts or activates the browser and, when it was running, asks for a new window.
  void openNewBrowserWindow(const std::string& browser);

 private:
  // How far a start got. An exit status of the open command other than 0 and 1
  // ("no such application") leaves open whether the browser took the link.
  enum class Start { opened, failed, uncertain };
  bool isRunning(const std::string& browser);
  Start start(const std::string& link, const std::string& browser, bool background);
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
  BrowserChooser& chooser_;
  bool offering_ = false;  // a failed launch from the list offered after a failure does not offer it again
};

}  // namespace routelle
