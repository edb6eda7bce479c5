#include "app/AppDelegate.h"

#include "scripting/ScriptCommand.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

constexpr unsigned kKeyCodeN = 45;
constexpr std::uint64_t kControlOptionCommand = 0x1C0000;

std::optional<RunningApplication> runningApplicationFrom(const UserInfo& info) {
  auto field = [&info](const char* key) {
    auto it = info.find(key);
    return it == info.end() ? std::optional<std::string>() : std::optional<std::string>(it->second);
  };
  RunningApplication app;
  app.localizedName = field(kApplicationNameKey).value_or("");
  app.bundlePath = field(kApplicationBundlePathKey);
  app.bundleIdentifier = field(kApplicationBundleIdentifierKey).value_or("");
  return app;
}

}  // namespace

AppDelegate::AppDelegate(AppServices services)
    : s_(services),
      saveFailures_(s_.settings, s_.presenter, s_.runLoop),
      linkCleaner_(s_.settings, s_.application, s_.files),
      profiles_(s_.files),
      tabCapture_(s_.settings, s_.workspace, s_.scripts, s_.presenter, s_.system),
      floatingWindow_(s_.presenter, s_.workspace),
      statusMenu_(s_.settings, s_.rules, s_.workspace, s_.launchServices, s_.accessibility, s_.updater, s_.presenter,
                  s_.runLoop, floatingWindow_, tabCapture_, trace_),
      launcher_(s_.settings, s_.registry, request_, s_.presenter, statusMenu_.menu(), s_.urls, s_.workspace,
                s_.processes, s_.scripts, s_.runLoop, trace_),
      tabWatcher_(s_.settings, s_.workspace, s_.scripts, s_.urls, launcher_, s_.runLoop, trace_),
      chooser_(s_.settings, s_.workspace, s_.presenter, s_.events, s_.system, request_, launcher_, floatingWindow_,
               selectionMenu_, *this, trace_),
      selectionPanel_(floatingWindow_, s_.presenter, s_.events, s_.workspace, s_.pasteboard, s_.scripts, s_.runLoop,
                      request_, chooser_, selectionMenu_, trace_),
      selectionMonitor_(s_.settings, s_.events, s_.runLoop, s_.accessibility, s_.linkDetector, request_,
                        floatingWindow_, selectionPanel_, chooser_, linkIntake_, trace_),
      router_(s_.settings, s_.urls, s_.events, s_.workspace, request_, launcher_, chooser_, trace_),
      linkIntake_(s_.settings, s_.urls, s_.launchServices, s_.workspace, s_.presenter, s_.events, s_.processes,
                  request_, router_, chooser_, launcher_, tabCapture_, *this, trace_),
      toggles_(s_.settings, s_.registry, s_.accessibility, s_.application, s_.presenter, s_.workspace, statusMenu_,
               launcher_, tabWatcher_, trace_),
      registration_(s_.launchServices, s_.updater, s_.workspace, s_.urls, s_.application, s_.presenter, s_.registry,
                    statusMenu_, chooser_, trace_),
      about_(s_.presenter, s_.application, s_.processes, registration_),
      editors_(s_.settings, s_.rules, s_.registry, s_.workspace, s_.files, s_.presenter, s_.application, s_.runLoop,
               statusMenu_, chooser_, trace_),
      exchange_(s_.rules, s_.registry, s_.workspace, s_.files, s_.calendar, s_.presenter, statusMenu_, trace_) {
  launcher_.setChooser(chooser_);
  router_.setLinkCleaner(linkCleaner_);
  launcher_.setProfiles(profiles_);
  chooser_.setProfiles(profiles_);
  statusMenu_.setProfiles(profiles_);
  editors_.setProfiles(profiles_);
}

void AppDelegate::awakeFromNib() {
  s_.appleEvents.setEventHandler(kInternetEventClass, kGetURLEventID, [this](const std::optional<std::string>& link) {
    linkIntake_.handleGetURLEvent(link);
  });
}

void AppDelegate::applicationWillFinishLaunching() {
  auto& center = s_.workspaceNotifications;
  center.addObserver(kDidDeactivateApplicationNotification, [this](const std::string&, const UserInfo& info) {
    request_.setPreviousApplication(runningApplicationFrom(info));
  });
  center.addObserver("fetchmenu", [this](const std::string&, const UserInfo&) { statusMenu_.fetchMenu(); });
  center.addObserver(kExportNotification,
                     [this](const std::string&, const UserInfo& info) { exchange_.exportListWithNotification(info); });
  center.addObserver(kImportNotification,
                     [this](const std::string&, const UserInfo& info) { exchange_.importListWithNotification(info); });
  chooser_.buildBrowsersListMenu();
  selectionMonitor_.installSelectionMonitors(selectionMenu_);
}

void AppDelegate::applicationDidFinishLaunching() {
  // What start-up writes is the program's own first-use state, not a change the user asked for.
  s_.settings.unattended([this] { finishLaunching(); });
}

void AppDelegate::finishLaunching() {
  s_.shortcuts.unregisterAllShortcuts();
  s_.shortcuts.registerShortcut(kKeyCodeN, kControlOptionCommand, [this] { handleNewWindowShortcut(); });

  floatingWindow_.create();
  about_.create();

  auto& settings = s_.settings;
  settings.ensureBool(keys::hideChooserClose, true);
  settings.ensureBool(keys::hideChooserUrl, true);
  settings.ensureBool(keys::coloredIcon, true);
  // Read and kept as it is: rewriting an unchanged value would only wait for the file's lock.
  settings.ensureDouble(keys::menuBarIconSize, 16.0);
  statusMenu_.createStatusItem();

  if (!settings.contains(keys::menuBarOnly)) trace_(trace::menuBarOnlyMissing);
  if (settings.ensureBool(keys::menuBarOnly, false)) s_.application.setActivationPolicy(ActivationPolicy::accessory);

  registration_.offerToBecomeDefaultBrowser(settings);
  registration_.configureUpdater();

  trace_(trace::applicationsListQueued);
  editors_.fillApplicationsPopup();
  if (settings.ensureBool(keys::tabWatcher, false)) tabWatcher_.start();
  s_.application.setServicesProvider([this](Pasteboard& pasteboard) { linkIntake_.openUrlWithRtl(pasteboard); });
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
  trace_(trace::reopened);
  chooser_.buildBrowsersListMenu();
  if (s_.settings.ensureBool(keys::imagesOnlyChooser, false)) {
    chooser_.showFloatingBrowsersWindow();
  } else {
    trace_(trace::statusMenuPopUp);
    statusMenu_.refreshMenuNow();
    if (auto chosen = s_.presenter.popUpMenu(statusMenu_.menu(), s_.events.mouseLocation()))
      perform(chosen->action, *chosen);
  }
  return true;
}

const Menu& AppDelegate::applicationDockMenu() {
  statusMenu_.refreshMenuNow();
  return statusMenu_.menu();
}

void AppDelegate::menuWillOpen(const Menu&) { statusMenu_.refreshMenu(); }

bool AppDelegate::perform(const std::string& selectorText, const MenuItem& sender) {
  const auto action = actionForSelector(selectorText);
  if (!action) return false;
  switch (*action) {
    case Action::openWithChosenBrowser:
      chooser_.openChoice(sender);
      return true;
    case Action::closeChooser:
      chooser_.close();
      return true;
    case Action::doNothing:
    case Action::labelOnly:
      return true;
    case Action::searchSelection:
      selectionPanel_.search();
      return true;
    case Action::copySelection:
      selectionPanel_.copy();
      return true;
    case Action::pasteSelection:
      selectionPanel_.paste();
      return true;
    case Action::deleteSelection:
      selectionPanel_.erase();
      return true;
    case Action::setDefaultBrowser:
      statusMenu_.setDefaultChoice(sender);
      return true;
    case Action::openCapturedTab:
      linkIntake_.openCapturedTab();
      return true;
    case Action::quit:
      s_.application.terminate();
      return true;
    case Action::refreshMenu:
      statusMenu_.refreshMenu();
      return true;
    case Action::toggleOpenInBackground:
      toggles_.toggleOpenInBackground();
      return true;
    case Action::toggleMenuBarOnly:
      toggles_.toggleMenuBarOnly();
      return true;
    case Action::toggleHideMenuBar:
      toggles_.toggleHideMenuBar();
      return true;
    case Action::toggleImagesOnly:
      toggles_.toggleImagesOnly();
      return true;
    case Action::toggleMultipleFileTypes:
      toggles_.toggleMultipleFileTypes();
      return true;
    case Action::toggleShowClose:
      toggles_.toggleShowClose();
      return true;
    case Action::toggleShowUrl:
      toggles_.toggleShowUrl();
      return true;
    case Action::toggleColoredIcon:
      toggles_.toggleColoredIcon();
      return true;
    case Action::setIconSize:
      toggles_.setIconSize(sender);
      return true;
    case Action::toggleSelectionAssistant:
      toggles_.toggleSelectionList();
      return true;
    case Action::toggleTabWatcher:
      toggles_.toggleTabWatcher();
      return true;
    case Action::togglePriority:
      toggles_.togglePriority();
      return true;
    case Action::toggleShareBehavior:
      toggles_.toggleShareBehavior();
      return true;
    case Action::toggleCleanLinks:
      toggles_.toggleCleanLinks();
      return true;
    case Action::openBrowserExtensionsPage:
      toggles_.openBrowserExtensionsPage(sender);
      return true;
    case Action::toggleHiddenBrowser:
      toggles_.toggleHiddenBrowser(sender);
      return true;
    case Action::makeDefaultBrowser:
      registration_.setBrowserDefault();
      return true;
    case Action::toggleMailDefault:
      registration_.toggleMailDefault();
      return true;
    case Action::checkForUpdates:
      registration_.checkForUpdates();
      return true;
    case Action::toggleAutomaticChecks:
      registration_.toggleAutomaticChecks();
      return true;
    case Action::openInstructions:
      registration_.openInstructions();
      return true;
    case Action::openMakerSite:
      registration_.openMakerSite();
      return true;
    case Action::addBrowser:
      registration_.addBrowser();
      return true;
    case Action::showAbout:
      about_.show();
      return true;
    case Action::closeAbout:
      about_.close();
      return true;
    case Action::openSupportPage:
      about_.openSupport();
      return true;
    case Action::openAcknowledgements:
      about_.openAcknowledgements();
      return true;
    case Action::exportRules:
      exchange_.saveExport();
      return true;
    case Action::importRules:
      exchange_.importList();
      return true;
    case Action::addDomainRule:
      editors_.addDomains();
      return true;
    case Action::removeDomainRule:
      editors_.removeDomainRule(sender);
      return true;
    case Action::addAppRule:
      editors_.addPerApp();
      return true;
    case Action::chooseAnotherApp:
      editors_.chooseAnotherApp();
      return true;
    case Action::removeAppRule:
      editors_.removeAppRule(sender);
      return true;
    case Action::editModifierKey:
      editors_.editModifierKey(sender);
      return true;
    case Action::setOnionRule:
      editors_.setOnionRule(sender);
      return true;
    case Action::removeAddedBrowser:
      editors_.removeAddedBrowser(sender);
      return true;
  }
  return false;
}

}  // namespace routelle
