#pragma once
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RunLoop.h"
#include "platform/ScriptRunner.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "routing/BrowserLauncher.h"
#include "routing/RuleIndex.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"

namespace routelle {

// "Manipulate links inside browsers": every 5 seconds, off the main thread, the
// tabs of the running scripted browsers are read; a tab whose host has a domain
// rule for another browser is closed and opened in the rule's browser.
class TabWatcher {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    Workspace& workspace;
    ScriptRunner& scripts;
    const UrlParser& urls;
    BrowserLauncher& launcher;
    RunLoop& runLoop;
    const Trace& trace;
  };
  explicit TabWatcher(const Dependencies& deps);
  ~TabWatcher();

  // "startTabWatcher": the repeating timer on the queue "com.kestrova.rtl".
  void start();
  // Cancels the timer ("timer").
  void stop();
  bool isRunning() const;

  // One pass over the running browsers ("scanBrowserTabs").
  void scanBrowserTabs();

 private:
  // "moveTabsByDomainRules": the tabs of one browser.
  void moveTabsByDomainRules(const std::string& browser, std::string_view tabsOfBrowser);

  SettingsStore& settings_;
  Workspace& workspace_;
  ScriptRunner& scripts_;
  const UrlParser& urls_;
  BrowserLauncher& launcher_;
  RunLoop& runLoop_;
  const Trace& trace_;

  mutable std::mutex timerMutex_;
  std::optional<int> timer_;  // "timer"
  // Passes never overlap (the timer delivers one event at a time), but a test or
  // a late event may run one while another thread edits rules: the index is the
  // pass's own.
  std::mutex passMutex_;
  DomainRuleIndex domainRules_;
};

}  // namespace routelle
