#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Presenter.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "settings/BrowserProfiles.h"
#include "settings/SettingsStore.h"
#include "ui/Dialogs.h"
#include "ui/View.h"

namespace routelle {

inline constexpr std::string_view kChooseAnotherApp = "Choose another app";
inline constexpr std::string_view kModifierKeyTitle = "Modifier key: ";
// Shown in the domain dialog's text and placeholder.
inline constexpr std::string_view kExampleDomain = "example.com";

// The modal dialog every rule editor shares ("showRuleDialog"): a warning with
// "OK" and "Cancel" whose accessory the title selects: "Domain" (a text field
// over the browsers), "Per App" (the applications over the browsers), or
// "Modifier key: NAME" (the browsers and the special targets over an "Open in
// background" checkbox). Its controls keep their state from one dialog to the
// next, as the platform's controls do.
class RuleDialog {
 public:
  // Browsers' profiles are offered as "BROWSER — PROFILE" under their browser.
  RuleDialog(SettingsStore& settings, Workspace& workspace, Presenter& presenter, Application& application,
             RunLoop& runLoop, BrowserProfiles& profiles);

  // Builds and runs the dialog; true when "OK" was pressed. A dialog asked for
  // while one runs is refused (false).
  bool run(const std::string& title, const std::string& informativeText, bool freshInput);

  // What the user left in the last dialog.
  std::optional<std::string> selectedBrowser() const;
  // Nothing when none, or "Choose another app", is selected.
  std::optional<std::string> selectedApplication() const;
  const std::string& typedText() const { return domainField_.text; }
  bool inBackground() const { return backgroundCheckbox_.checked; }

  // The applications: these entries, then "Choose another app".
  void setApplications(std::vector<PopUpEntry> applications);
  // An application chosen with the file chooser: it takes the place of
  // "Choose another app", which follows it, and the next dialog keeps it selected.
  void addChosenApplication(PopUpEntry application);
  const View& applicationsPopup() const { return applicationsPopup_; }
  // Presses the running dialog's last button ("Cancel") once the current event is over.
  void cancelFromMainQueue();

  bool freshDomainField() const { return freshDomainField_; }

 private:
  void fillBrowsers();
  void layOutModifierKey(const std::string& title);
  void readBack(const AlertModel& shown);

  SettingsStore& settings_;
  Workspace& workspace_;
  Presenter& presenter_;
  Application& application_;
  RunLoop& runLoop_;
  BrowserProfiles& profiles_;

  AlertModel dialog_;  // "myPopup"
  bool running_ = false;
  View browserPopup_;                   // "cm"
  View applicationsPopup_;              // "cmx"
  View domainField_;                    // "input"
  View backgroundCheckbox_;             // "bkButton"
  bool freshDomainField_ = true;        // "domainsChange"
  bool resetApplicationChoice_ = true;  // "selectedMenuApp"
};

}  // namespace routelle
