#pragma once
#include "platform/Updater.h"

namespace routelle {

// The distribution's packages update the program; there is no updater.
class LinuxUpdater final : public Updater {
 public:
  bool available() const override { return false; }
  void setFeedURL(const std::string&) override {}
  void setUpdateCheckInterval(double) override {}
  void setDelegate(UpdaterDelegate*) override {}
  void checkForUpdates() override {}
  bool automaticallyChecksForUpdates() override { return false; }
  void setAutomaticallyChecksForUpdates(bool) override {}
  bool automaticallyDownloadsUpdates() override { return false; }
  void setAutomaticallyDownloadsUpdates(bool) override {}
  std::string userAgentString() override { return "Routelle"; }
};

}  // namespace routelle
