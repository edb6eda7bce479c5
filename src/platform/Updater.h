#pragma once
#include <string>

namespace routelle {

// Callbacks the updater makes on its delegate.
class UpdaterDelegate {
 public:
  virtual ~UpdaterDelegate() = default;
  virtual void updaterDidNotFindUpdate() = 0;
  virtual void updaterDidFindValidUpdate() = 0;
  virtual void updaterDidFinishLoadingAppcast() = 0;
  virtual bool updaterShouldRelaunchApplication() = 0;
  virtual void updaterWillRelaunchApplication() = 0;
};

// The shared software updater of the process.
class Updater {
 public:
  virtual ~Updater() = default;
  // Whether the program updates itself here (elsewhere the system's packages do,
  // and the menu offers no update entries).
  virtual bool available() const { return true; }
  virtual void setFeedURL(const std::string& url) = 0;
  virtual void setUpdateCheckInterval(double seconds) = 0;
  virtual void setDelegate(UpdaterDelegate* delegate) = 0;
  // A user-visible check; its outcome arrives through the delegate.
  virtual void checkForUpdates() = 0;
  virtual bool automaticallyChecksForUpdates() = 0;
  virtual void setAutomaticallyChecksForUpdates(bool on) = 0;
  virtual bool automaticallyDownloadsUpdates() = 0;
  virtual void setAutomaticallyDownloadsUpdates(bool on) = 0;
  virtual std::string userAgentString() = 0;
};

}  // namespace routelle
