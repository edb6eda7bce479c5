#include "routing/LinkRequest.h"

namespace routelle {

std::string LinkRequest::currentLink() const {
  std::lock_guard lock(mutex_);
  return currentLink_;
}

bool LinkRequest::isCurrentLink(std::string_view link) const {
  std::lock_guard lock(mutex_);
  return currentLink_ == link;
}

void LinkRequest::setCurrentLink(std::string link) {
  std::lock_guard lock(mutex_);
  currentLink_ = std::move(link);
}

std::optional<RunningApplication> LinkRequest::previousApplication() const {
  std::lock_guard lock(mutex_);
  return previousApplication_;
}

void LinkRequest::setPreviousApplication(std::optional<RunningApplication> app) {
  std::lock_guard lock(mutex_);
  previousApplication_ = std::move(app);
}

}  // namespace routelle
