#pragma once
#include <string>

#include "platform/Application.h"
#include "platform/Presenter.h"
#include "platform/Workspace.h"
#include "routing/LinkIntake.h"
#include "ui/Dialogs.h"
#include "ui/View.h"

namespace routelle {

// "Test a Link...": a small window where the user pastes or types a link,
// picks the application it comes from and a modifier key if they like, and
// reads below it what routing would decide and why. Nothing is opened.
class LinkTester {
 public:
  LinkTester(Presenter& presenter, Application& application, Workspace& workspace, LinkIntake& intake);

  LinkTester(const LinkTester&) = delete;  // the window's edits call back into this object
  LinkTester& operator=(const LinkTester&) = delete;

  // Runs the window until the user closes it. The decision below the fields
  // follows each edit of the link, the application or the key; the fields stay
  // filled for the next time.
  void show();
  // The window as it stands, for the platform to draw.
  const AlertModel& window() const { return window_; }

 private:
  void fillApplications();
  void showDecisionForFields();

  Presenter& presenter_;
  Application& application_;
  Workspace& workspace_;
  LinkIntake& intake_;
  AlertModel window_;
};

}  // namespace routelle
