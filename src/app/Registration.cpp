#include "app/Registration.h"

#include "app/MakerPages.h"
#include "app/OwnHandler.h"
#include "settings/Keys.h"

namespace routelle {

Registration::Registration(const Dependencies& deps)
    : launchServices_(deps.launchServices),
      updater_(deps.updater),
      workspace_(deps.workspace),
      urls_(deps.urls),
      application_(deps.application),
      presenter_(deps.presenter),
      registry_(deps.registry),
      statusMenu_(deps.statusMenu),
      chooser_(deps.chooser),
      trace_(deps.trace) {}

void Registration::offerToBecomeDefaultBrowser(SettingsStore& settings) {
  const bool ask = settings.ensureBool(keys::offerDefaultBrowser, true);
  if (isOwnHandler(launchServices_.defaultHandler("http"))) {
    if (ask) settings.setBool(keys::offerDefaultBrowser, false);
  } else if (ask) {
    settings.setBool(keys::offerDefaultBrowser, false);
    launchServices_.setDefaultHandler("http", std::string(domains::ownBundleIdentifier));
    launchServices_.setDefaultHandler("https", std::string(domains::ownBundleIdentifier));
  }
}

void Registration::configureUpdater() {
  updater_.setFeedURL(std::string(pages::updateFeed));
  updater_.setUpdateCheckInterval(86400.0);
  updater_.setDelegate(this);
}

void Registration::setBrowserDefault() {
  const std::string own(domains::ownBundleIdentifier);
  launchServices_.setDefaultHandler("http", own);
  launchServices_.setDefaultHandler("https", own);
  statusMenu_.refreshMenu();
}

// The menu shows the new state the next time it opens.
void Registration::toggleMailDefault() {
  if (isOwnHandler(launchServices_.defaultHandler("mailto")))
    launchServices_.setDefaultHandler("mailto", "com.apple.mail");
  else
    launchServices_.setDefaultHandler("mailto", std::string(domains::ownBundleIdentifier));
}

void Registration::checkForUpdates() { updater_.checkForUpdates(); }

void Registration::toggleAutomaticChecks() {
  updater_.setAutomaticallyChecksForUpdates(!updater_.automaticallyChecksForUpdates());
  // Updates are never installed without asking.
  updater_.setAutomaticallyDownloadsUpdates(false);
  statusMenu_.refreshMenu();
}

// Opens a page with the system's handler of its scheme.
void Registration::openPage(std::string_view page) {
  if (!urls_.parse(page))
    trace_(trace::invalidUrl);
  else if (workspace_.openURL(std::string(page)))
    trace_(trace::urlOpened);
}

void Registration::openInstructions() { openPage(pages::instructions); }

void Registration::openMakerSite() {
  presenter_.cancelMenuTracking(statusMenu_.menu());
  openPage(pages::site);
}

void Registration::openContactPage() { openPage(pages::contact); }

void Registration::addBrowser() {
  application_.activateIgnoringOtherApps(true);
  presenter_.beginOpenPanel(OpenPanelModel::forAnApplication(), [this](const std::optional<std::string>& path) {
    if (!path || !registry_.addBrowserAtPath(*path)) return;
    statusMenu_.scheduleMenuRefresh();
    chooser_.buildBrowsersListMenu();
  });
}

void Registration::updaterDidNotFindUpdate() { trace_(trace::noUpdateFound); }
void Registration::updaterDidFindValidUpdate() { trace_(trace::updateFound); }

void Registration::updaterDidFinishLoadingAppcast() {
  trace_(trace::appcastLoaded);
  trace_(updater_.userAgentString());
}

bool Registration::updaterShouldRelaunchApplication() {
  statusMenu_.refreshMenu();
  return true;
}

void Registration::updaterWillRelaunchApplication() { statusMenu_.refreshMenu(); }

}  // namespace routelle
