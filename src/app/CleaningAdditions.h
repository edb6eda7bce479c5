#pragma once
#include <optional>
#include <string>

#include "platform/Application.h"
#include "platform/Presenter.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Dialogs.h"

namespace routelle {

// "Add to Clean Links...": the user's own cleaning entries ("cleanLinksAdditions"),
// added from a dialog in the words a user has: a tracking parameter's name, or a
// redirect link pasted as it came, from which the entry that unwraps such links
// is written.
class CleaningAdditions {
 public:
  struct Dependencies {
    SettingsStore& settings;
    Presenter& presenter;
    Application& application;
    const Trace& trace;
  };
  explicit CleaningAdditions(const Dependencies& deps);

  // Shows the dialog; OK adds the entry the text reads as, or says why it reads as none.
  void addFromDialog();

 private:
  SettingsStore& settings_;
  Presenter& presenter_;
  Application& application_;
  const Trace& trace_;
};

}  // namespace routelle
