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
  settings.ensureBool(keys::hideExit, true);
  settings.ensureBool(keys::hideUrl, true);
  settings.ensureBool(keys::clicon, true);
  // Read and kept as it is: rewriting an unchanged value would only wait for the file's lock.
  settings.ensureDouble(keys::menuBarIconSize, 16.0);
  statusMenu_.createStatusItem();

  if (!settings.contains(keys::hide)) trace_(trace::loginMissing);
  if (settings.ensureBool(keys::hide, false)) s_.application.setActivationPolicy(ActivationPolicy::accessory);

  registration_.offerToBecomeDefaultBrowser(settings);
  registration_.configureUpdater();

  trace_(trace::applicationsListQueued);
  editors_.fillApplicationsPopup();
  if (settings.ensureBool(keys::experimental2, false)) tabWatcher_.start();
  s_.application.setServicesProvider([this](Pasteboard& pasteboard) { linkIntake_.openUrlWithRtl(pasteboard); });
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
  trace_(trace::reopened);
  chooser_.buildBrowsersListMenu();
  if (s_.settings.ensureBool(keys::imonly, false)) {
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
    case Action::openx:
      chooser_.openChoice(sender);
      return true;
    case Action::xNada:
      chooser_.close();
      return true;
    case Action::nada:
    case Action::reset:
      return true;
    case Action::searchs:
      selectionPanel_.search();
      return true;
    case Action::toClip:
      selectionPanel_.copy();
      return true;
    case Action::autoPaste:
      selectionPanel_.paste();
      return true;
    case Action::autoDelete:
      selectionPanel_.erase();
      return true;
    case Action::openy:
      statusMenu_.setDefaultChoice(sender);
      return true;
    case Action::linkUrl:
      linkIntake_.openCapturedTab();
      return true;
    case Action::exit:
      s_.application.terminate();
      return true;
    case Action::printQuote1:
      statusMenu_.refreshMenu();
      return true;
    case Action::openBack:
      toggles_.toggleOpenInBackground();
      return true;
    case Action::only:
      toggles_.toggleMenuBarOnly();
      return true;
    case Action::hideAllOnly:
      toggles_.toggleHideMenuBar();
      return true;
    case Action::onlyx:
      toggles_.toggleImagesOnly();
      return true;
    case Action::showEdit:
      toggles_.toggleMultipleFileTypes();
      return true;
    case Action::changeHexit:
      toggles_.toggleShowClose();
      return true;
    case Action::changesUrl:
      toggles_.toggleShowUrl();
      return true;
    case Action::changeIcon:
      toggles_.toggleColoredIcon();
      return true;
    case Action::slideMove:
      toggles_.setIconSize(sender);
      return true;
    case Action::expActive:
      toggles_.toggleSelectionList();
      return true;
    case Action::expiActive:
      toggles_.toggleTabWatcher();
      return true;
    case Action::changePriority:
      toggles_.togglePriority();
      return true;
    case Action::changeBehavior:
      toggles_.toggleShareBehavior();
      return true;
    case Action::openBrowserExtensionsPageWithSender:
      toggles_.openBrowserExtensionsPage(sender);
      return true;
    case Action::hideBrowsersWithSender:
      toggles_.toggleHiddenBrowser(sender);
      return true;
    case Action::setBrowserDefault:
      registration_.setBrowserDefault();
      return true;
    case Action::setMailDefault:
      registration_.toggleMailDefault();
      return true;
    case Action::checkNow:
      registration_.checkForUpdates();
      return true;
    case Action::checkWeek:
      registration_.toggleAutomaticChecks();
      return true;
    case Action::readme:
      registration_.openInstructions();
      return true;
    case Action::maisApps:
      registration_.openMakerSite();
      return true;
    case Action::openNew:
      registration_.addBrowser();
      return true;
    case Action::dialogOKCancel2:
      about_.show();
      return true;
    case Action::cancelBt:
      about_.close();
      return true;
    case Action::saveBte:
      about_.openSupport();
      return true;
    case Action::saveBte2:
      about_.openAcknowledgements();
      return true;
    case Action::saveExport:
      exchange_.saveExport();
      return true;
    case Action::importList:
      exchange_.importList();
      return true;
    case Action::addDomains:
      editors_.addDomains();
      return true;
    case Action::deletar:
      editors_.removeDomainRule(sender);
      return true;
    case Action::addPerApp:
      editors_.addPerApp();
      return true;
    case Action::newAppToPerApp:
      editors_.chooseAnotherApp();
      return true;
    case Action::deletarPerApp:
      editors_.removeAppRule(sender);
      return true;
    case Action::adModKey:
      editors_.editModifierKey(sender);
      return true;
    case Action::addRuleToSuffixOnion:
      editors_.setOnionRule(sender);
      return true;
    case Action::deletex:
      editors_.removeAddedBrowser(sender);
      return true;
  }
  return false;
}

}  // namespace routelle
