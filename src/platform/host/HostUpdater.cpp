#include "platform/host/HostUpdater.h"

namespace routelle {

HostUpdater::HostUpdater(const World& world) : state_(world.updaterFile()) {}

// Set on every start with the same values: a file that holds them already is
// not written again.
void HostUpdater::store(const char* key, const DefaultsValue& value) {
  if (state_.object(key) == value) return;
  state_.set(key, value);
  state_.synchronize();
}

void HostUpdater::setFeedURL(const std::string& url) { store("FeedURL", url); }

void HostUpdater::setUpdateCheckInterval(double seconds) { store("CheckInterval", seconds); }

bool HostUpdater::flag(const char* key, bool fallback) {
  auto v = state_.object(key);
  return v && std::holds_alternative<bool>(*v) ? std::get<bool>(*v) : fallback;
}

void HostUpdater::checkForUpdates() {
  auto checks = state_.object("ManualChecks");
  std::int64_t count = checks && std::holds_alternative<std::int64_t>(*checks) ? std::get<std::int64_t>(*checks) : 0;
  state_.set("ManualChecks", count + 1);
  state_.synchronize();
  if (!delegate_) return;
  delegate_->updaterDidFinishLoadingAppcast();
  delegate_->updaterDidNotFindUpdate();
}

bool HostUpdater::automaticallyChecksForUpdates() { return flag("AutomaticChecks", false); }

void HostUpdater::setAutomaticallyChecksForUpdates(bool on) {
  state_.set("AutomaticChecks", on);
  state_.synchronize();
}

bool HostUpdater::automaticallyDownloadsUpdates() { return flag("AutomaticDownloads", false); }

void HostUpdater::setAutomaticallyDownloadsUpdates(bool on) {
  state_.set("AutomaticDownloads", on);
  state_.synchronize();
}

std::string HostUpdater::userAgentString() { return "Routelle/1.0 HostUpdater"; }

}  // namespace routelle
