#pragma once
#include <functional>
#include <string>

#include "platform/Updater.h"
#include "platform/host/HostDefaults.h"
#include "platform/host/World.h"

namespace routelle {

// The updater of the host world: its settings persist in the world, and a
// check finds no update (there is no feed server to reach).
class HostUpdater final : public Updater {
 public:
  explicit HostUpdater(const World& world);

  void setFeedURL(const std::string& url) override;
  void setUpdateCheckInterval(double seconds) override;
  void setDelegate(UpdaterDelegate* delegate) override { delegate_ = delegate; }
  void checkForUpdates() override;
  bool automaticallyChecksForUpdates() override;
  void setAutomaticallyChecksForUpdates(bool on) override;
  bool automaticallyDownloadsUpdates() override;
  void setAutomaticallyDownloadsUpdates(bool on) override;
  std::string userAgentString() override;

 private:
  bool flag(const char* key, bool fallback);
  void store(const char* key, const DefaultsValue& value);
  HostDefaults state_;
  UpdaterDelegate* delegate_ = nullptr;
};

}  // namespace routelle
