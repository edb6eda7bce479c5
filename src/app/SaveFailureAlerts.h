#pragma once
#include <mutex>
#include <optional>
#include <string>

#include "platform/Presenter.h"
#include "platform/RunLoop.h"
#include "settings/SettingsStore.h"

namespace routelle {

// Tells the user of every change they asked for (a menu entry, a dialog, a
// file chosen in a panel) that the preferences could not store: one alert
// naming the cause, once the event that asked for it is over, however many
// writes it made. Script commands report theirs as script errors instead.
class SaveFailureAlerts {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    Presenter& presenter;
    RunLoop& runLoop;
  };
  explicit SaveFailureAlerts(const Dependencies& deps);
  ~SaveFailureAlerts();
  SaveFailureAlerts(const SaveFailureAlerts&) = delete;
  SaveFailureAlerts& operator=(const SaveFailureAlerts&) = delete;

 private:
  void failed(const std::string& cause);
  void show();

  SettingsStore& settings_;
  Presenter& presenter_;
  RunLoop& runLoop_;
  std::mutex mutex_;
  std::optional<int> pending_;  // the alert's turn on the main queue
  std::string cause_;           // the first failure's: what the user met first
};

}  // namespace routelle
