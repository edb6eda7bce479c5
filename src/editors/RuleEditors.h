#pragma once
#include <string>

#include "app/BrowsersListChooser.h"
#include "app/StatusMenu.h"
#include "editors/RuleDialog.h"
#include "platform/Application.h"
#include "platform/FileManager.h"
#include "platform/Presenter.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Menu.h"

namespace routelle {

// The status menu's rule editors: the domain, per-application and modifier-key
// dialogs, the onion rule, and the removal of rules and added browsers. Every
// editor ends by refreshing the menus, cancelled or not.
class RuleEditors {
 public:
  RuleEditors(SettingsStore& settings, RuleStore& rules, BrowserRegistry& registry, Workspace& workspace,
              FileManager& files, Presenter& presenter, Application& application, RunLoop& runLoop,
              StatusMenu& statusMenu, BrowsersListChooser& chooser, const Trace& trace);

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
  // Rules may name a profile of their browser.
  void setProfiles(BrowserProfiles& profiles) {
    profiles_ = &profiles;
    dialog_.setProfiles(profiles);
  }

 private:
  void refreshAfterRuleChange(bool rebuildBrowsersList);
  // A domain text that cannot be a link's host: said so, with the dialog's own guidance.
  void refuseDomain(const std::string& typed);
  // Links sent to the program itself would come straight back: it is never a target.
  bool isProgramItself(const std::string& name) const;
  // A chosen "BROWSER — PROFILE": the browser's name and the profile's directory
  // (empty for a plain browser).
  std::pair<std::string, std::string> browserAndProfile(const std::string& chosen) const;
  BrowserProfiles* profiles_ = nullptr;

  RuleStore& rules_;
  BrowserRegistry& registry_;
  Workspace& workspace_;
  FileManager& files_;
  Presenter& presenter_;
  Application& application_;
  RunLoop& runLoop_;
  StatusMenu& statusMenu_;
  BrowsersListChooser& chooser_;
  const Trace& trace_;
  RuleDialog dialog_;
};

}  // namespace routelle
