#include "app/SaveFailureAlerts.h"

namespace routelle {

SaveFailureAlerts::SaveFailureAlerts(const Dependencies& deps)
    : settings_(deps.settings), presenter_(deps.presenter), runLoop_(deps.runLoop) {
  settings_.setWriteFailureListener([this](const std::string& cause) { failed(cause); });
}

SaveFailureAlerts::~SaveFailureAlerts() {
  settings_.setWriteFailureListener(nullptr);
  std::lock_guard lock(mutex_);
  if (pending_) runLoop_.cancel(*pending_);
}

void SaveFailureAlerts::failed(const std::string& cause) {
  std::lock_guard lock(mutex_);
  if (pending_) return;
  cause_ = cause;
  pending_ = runLoop_.schedule(0, [this] { show(); });
}

void SaveFailureAlerts::show() {
  std::string cause;
  {
    std::lock_guard lock(mutex_);
    pending_.reset();
    cause = std::move(cause_);
  }
  AlertModel alert{preferencesNotSavedMessage(cause), "", "warning", {"OK"}, std::nullopt};
  presenter_.runModalAlert(alert);
}

}  // namespace routelle
