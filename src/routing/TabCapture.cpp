#include "routing/TabCapture.h"

#include "routing/BrowserScripts.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

constexpr const char* kAutomationNotice = "Use current url from front browser on Routelle";
constexpr const char* kAutomationNoticeDetail =
    "For OSX 10.14 and higher, if you wish, you need to allow Routelle to access and execute actions on other "
    "apps. You can change it later on System Preferences-->Security & Privacy > Privacy > Automation";

}  // namespace

TabCapture::TabCapture(const Dependencies& deps)
    : settings_(deps.settings),
      workspace_(deps.workspace),
      scripts_(deps.scripts),
      presenter_(deps.presenter),
      system_(deps.system) {}

std::string TabCapture::frontTabUrl() const {
  std::lock_guard lock(mutex_);
  return frontTabUrl_;
}

void TabCapture::captureFrontTabURL() {
  {
    std::lock_guard lock(mutex_);
    frontTabUrl_.clear();
  }
  // No frontmost application (nothing has focus): there is no tab to read.
  auto app = workspace_.frontmostApplication();
  if (!app || app->localizedName.empty()) return;
  readFrontTabURL(app->localizedName, *app);
}

bool TabCapture::readFrontTabURL(const std::string& name, const RunningApplication& app) {
  auto suffix = browserscripts::currentTabSuffix(name);
  if (!suffix) return false;
  if (system_.isAtLeast(10, 14) && !app.bundleIdentifier.empty()) askAutomationPermission(app);
  auto outcome = scripts_.run(browserscripts::tellApplication(name, *suffix));
  if (outcome.ok) {
    std::lock_guard lock(mutex_);
    frontTabUrl_ = outcome.result;
  }
  return true;
}

// The system asks the user once per target; the notice tells why, once per installation.
void TabCapture::askAutomationPermission(const RunningApplication& app) {
  if (settings_.ensureBool(keys::automationNoticeDue, true)) {
    settings_.setBool(keys::automationNoticeDue, false);
    AlertModel notice{kAutomationNotice, kAutomationNoticeDetail, "warning", {"OK"}, std::nullopt};
    presenter_.runModalAlert(notice);
  }
  scripts_.determinePermissionToAutomate(app.bundleIdentifier);
}

}  // namespace routelle
