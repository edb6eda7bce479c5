#pragma once
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Workspace.h"

namespace routelle {

// The link being handled and its one-shot flags. The tab watcher launches from
// its own thread, so every field is safe to use from two threads.
class LinkRequest {
 public:
  // The current link after normalisation, or an opened file's path ("casa").
  std::string currentLink() const;
  void setCurrentLink(std::string link);
  // Without copying it: asked once per link routed.
  bool isCurrentLink(std::string_view link) const;

  // The next launch opens in the background, once ("helpBack").
  void setBackgroundOnce(bool on) { backgroundOnce_ = on; }
  bool takeBackgroundOnce() { return backgroundOnce_.exchange(false); }
  bool backgroundOnce() const { return backgroundOnce_; }

  // False: the next launch opens a new empty window instead of the link ("som").
  bool opensLink() const { return opensLink_; }
  void setOpensLink(bool on) { opensLink_ = on; }

  // The most recently deactivated application ("previousApp").
  std::optional<RunningApplication> previousApplication() const;
  void setPreviousApplication(std::optional<RunningApplication> app);

 private:
  mutable std::mutex mutex_;
  std::string currentLink_;
  std::optional<RunningApplication> previousApplication_;
  std::atomic<bool> backgroundOnce_{false};
  std::atomic<bool> opensLink_{true};
};

}  // namespace routelle
