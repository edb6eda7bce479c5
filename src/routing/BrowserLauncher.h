#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Presenter.h"
#include "platform/ProcessLauncher.h"
#include "platform/RunLoop.h"
#include "platform/ScriptRunner.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "routing/BrowserChooser.h"
#include "routing/LaunchPlan.h"
#include "routing/LinkRequest.h"
#include "settings/BrowserProfiles.h"
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
    // Where browsers' profiles are found.
    BrowserProfiles& profiles;
  };
  explicit BrowserLauncher(const Dependencies& deps);

  // The browser is a display name, a bundle file name with ".app", or a full path.
  // When it cannot be started the failure is reported on standard error and the
  // browsers list is shown for the link, so that the user picks another. The
  // program itself is never started with a link (it would hand the link back to
  // itself without end), whatever a setting names. "BROWSER — PROFILE" (a
  // chooser's entry) opens the link in that profile.
  void launchBrowser(const std::string& link, const std::string& browser);
  // In a profile of the browser, by its directory or display name: a new
  // instance of the browser is started with the profile's arguments. A profile
  // the browser no longer lists falls back to the browser itself, and the trace says why.
  void launchBrowser(const std::string& link, const std::string& browser, const std::string& profile);
  // The browser's own arguments that open the link in the profile; nothing when
  // the browser no longer lists it or the link would read as one of its options.
  std::optional<std::vector<std::string>> profileArguments(const std::string& link, const std::string& browser,
                                                           const std::string& profile);
  // A chooser's entry "BROWSER — PROFILE" of a browser that keeps profiles.
  std::optional<BrowserAndProfile> profileTitle(std::string_view text) { return profiles_.splitTitle(text); }
  // With the arguments profileArguments gave.
  void launchInProfile(const std::string& link, const std::string& browser,
                       const std::vector<std::string>& profileArguments);

  // Why a link opens in the browser itself when profileArguments gave nothing:
  // what the trace and the explanation say.
  static std::string profileFallback(const std::string& link, const std::string& browser, const std::string& profile);
  // A tab the tab watcher moves, from its thread: always opened with its URL and
  // the "background" setting alone, so the user's pending requests (the one-shot
  // background override, the new-window request) stay for the link they were
  // made for. Nothing is offered when it fails (the tab stays where it is), and
  // what belongs to the main thread is posted there. Answers whether the browser
  // took the URL.
  bool openMovedTab(const std::string& url, const std::string& browser);
  // Starts or activates the browser and, when it was running, asks for a new window.
  void openNewBrowserWindow(const std::string& browser);
  // How launchBrowser would start the browser with the link, starting nothing:
  // the program itself is refused. Among `running` (none: the workspace's).
  LaunchPlan plan(const std::string& link, const std::string& browser, bool background,
                  const std::optional<std::vector<RunningApplication>>& running,
                  const std::vector<std::string>& profileArguments = {}) const;

 private:
  // How far a start got. An exit status of the open command other than 0 and 1
  // ("no such application") leaves open whether the browser took the link.
  enum class Start { opened, failed, uncertain };
  bool isRunning(const std::string& browser);
  void launch(const std::string& link, const std::string& browser, const std::vector<std::string>& profileArguments);
  // Profile arguments, when given, go to the browser after "--args" ahead of the link.
  Start start(const std::string& link, const std::string& browser, bool background,
              const std::vector<std::string>& profileArguments = {});
  // Which commands a plan holds: a start needs the one run after an open
  // command that found no application only when that happens.
  enum class Commands { all, untilTheFirstAnswers };
  LaunchPlan commandsFor(const std::string& link, const std::string& browser, bool background,
                         const std::optional<std::vector<RunningApplication>>& running,
                         const std::vector<std::string>& profileArguments, Commands wanted = Commands::all) const;
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
  BrowserProfiles& profiles_;
  bool offering_ = false;  // a failed launch from the list offered after a failure does not offer it again
};

}  // namespace routelle
