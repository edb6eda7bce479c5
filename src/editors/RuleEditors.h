#pragma once
#include <string>

#include "editors/RuleDialog.h"
#include "platform/Application.h"
#include "platform/FileManager.h"
#include "platform/Presenter.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "routing/BrowserChooser.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Menu.h"
#include "ui/StatusMenuRefresh.h"

namespace routelle {

// The status menu's rule editors: the domain, per-application and modifier-key
// dialogs, the onion rule, and the removal of rules and added browsers. Every
// editor ends by refreshing the menus, cancelled or not.
class RuleEditors {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    RuleStore& rules;
    BrowserRegistry& registry;
    Workspace& workspace;
    FileManager& files;
    Presenter& presenter;
    Application& application;
    RunLoop& runLoop;
    StatusMenuRefresh& statusMenu;
    BrowserChooser& chooser;
    const Trace& trace;
    // Rules may name a profile of their browser.
    BrowserProfiles& profiles;
  };
  explicit RuleEditors(const Dependencies& deps);

  // Start-up: the applications are listed on the main queue ("fillApplicationsPopup").
  void fillApplicationsPopup();

  void addDomains();                                // "addDomains"
  void removeDomainRule(const MenuItem& sender);    // "deletar:": the key equivalent is the domain
  void addPerApp();                                 // "addPerApp"
  void chooseAnotherApp();                          // "newAppToPerApp", sent while the dialog runs
  void removeAppRule(const MenuItem& sender);       // "deletarPerApp:": the key equivalent is the rule
  void editModifierKey(const MenuItem& sender);     // "adModKey:": title "Command", key equivalent "command"
  void setOnionRule(const MenuItem& sender);        // "addRuleToSuffixOnion:": the title names the browser
  void removeAddedBrowser(const MenuItem& sender);  // "deletex:": the key equivalent is the bundle identifier

  const RuleDialog& dialog() const { return dialog_; }

 private:
  void refreshAfterRuleChange(bool rebuildBrowsersList);
  // A domain text that cannot be a link's host: said so, with the dialog's own guidance.
  void refuseDomain(const std::string& why);
  // Links sent to the program itself would come straight back: it is never a target.
  bool isProgramItself(const std::string& name) const;
  // A chosen "BROWSER — PROFILE": the browser's name and the profile's directory
  // (empty for a plain browser).
  std::pair<std::string, std::string> browserAndProfile(const std::string& chosen) const;

  RuleStore& rules_;
  BrowserRegistry& registry_;
  Workspace& workspace_;
  FileManager& files_;
  Presenter& presenter_;
  Application& application_;
  RunLoop& runLoop_;
  StatusMenuRefresh& statusMenu_;
  BrowserChooser& chooser_;
  const Trace& trace_;
  RuleDialog dialog_;
  BrowserProfiles& profiles_;
};

}  // namespace routelle
