#include "app/AppDelegate.h"

#include "routing/DecisionText.h"

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
      saveFailures_({.settings = s_.settings, .presenter = s_.presenter, .runLoop = s_.runLoop}),
      linkCleaner_(s_.settings, s_.application, s_.files),
      profiles_(s_.files),
      tabCapture_({.settings = s_.settings,
                   .workspace = s_.workspace,
                   .scripts = s_.scripts,
                   .presenter = s_.presenter,
                   .system = s_.system}),
      floatingWindow_({.presenter = s_.presenter, .workspace = s_.workspace}),
      statusMenu_({.settings = s_.settings,
                   .rules = s_.rules,
                   .workspace = s_.workspace,
                   .launchServices = s_.launchServices,
                   .accessibility = s_.accessibility,
                   .updater = s_.updater,
                   .presenter = s_.presenter,
                   .runLoop = s_.runLoop,
                   .floatingWindow = floatingWindow_,
                   .tabCapture = tabCapture_,
                   .trace = trace_,
                   .profiles = profiles_}),
      // The chooser and the launcher need each other: the chooser keeps the
      // launcher it will call, the launcher gets the chooser built.
      chooser_({.settings = s_.settings,
                .workspace = s_.workspace,
                .presenter = s_.presenter,
                .events = s_.events,
                .system = s_.system,
                .request = request_,
                .launcher = launcher_,
                .window = floatingWindow_,
                .selectionMenu = selectionMenu_,
                .actions = *this,
                .trace = trace_,
                .profiles = profiles_}),
      launcher_({.settings = s_.settings,
                 .registry = s_.registry,
                 .request = request_,
                 .presenter = s_.presenter,
                 .statusMenu = statusMenu_.menu(),
                 .urls = s_.urls,
                 .workspace = s_.workspace,
                 .processes = s_.processes,
                 .scripts = s_.scripts,
                 .runLoop = s_.runLoop,
                 .trace = trace_,
                 .chooser = chooser_,
                 .profiles = profiles_}),
      tabWatcher_({.settings = s_.settings,
                   .workspace = s_.workspace,
                   .scripts = s_.scripts,
                   .urls = s_.urls,
                   .launcher = launcher_,
                   .runLoop = s_.runLoop,
                   .trace = trace_}),
      selectionPanel_({.window = floatingWindow_,
                       .presenter = s_.presenter,
                       .events = s_.events,
                       .workspace = s_.workspace,
                       .pasteboard = s_.pasteboard,
                       .scripts = s_.scripts,
                       .runLoop = s_.runLoop,
                       .request = request_,
                       .chooser = chooser_,
                       .selectionMenu = selectionMenu_,
                       .trace = trace_}),
      // The monitor hands selected mail addresses to the link intake, built next.
      selectionMonitor_({.settings = s_.settings,
                         .events = s_.events,
                         .runLoop = s_.runLoop,
                         .accessibility = s_.accessibility,
                         .links = s_.linkDetector,
                         .request = request_,
                         .window = floatingWindow_,
                         .panel = selectionPanel_,
                         .chooser = chooser_,
                         .mailLinks = linkIntake_,
                         .trace = trace_}),
      router_({.settings = s_.settings,
               .urls = s_.urls,
               .events = s_.events,
               .workspace = s_.workspace,
               .request = request_,
               .launcher = launcher_,
               .chooser = chooser_,
               .trace = trace_,
               .cleaner = linkCleaner_}),
      linkIntake_({.settings = s_.settings,
                   .urls = s_.urls,
                   .launchServices = s_.launchServices,
                   .workspace = s_.workspace,
                   .presenter = s_.presenter,
                   .events = s_.events,
                   .processes = s_.processes,
                   .request = request_,
                   .router = router_,
                   .chooser = chooser_,
                   .launcher = launcher_,
                   .tabCapture = tabCapture_,
                   .actions = *this,
                   .trace = trace_}),
      toggles_({.settings = s_.settings,
                .registry = s_.registry,
                .accessibility = s_.accessibility,
                .application = s_.application,
                .presenter = s_.presenter,
                .workspace = s_.workspace,
                .statusMenu = statusMenu_,
                .launcher = launcher_,
                .tabWatcher = tabWatcher_,
                .trace = trace_}),
      registration_({.launchServices = s_.launchServices,
                     .updater = s_.updater,
                     .workspace = s_.workspace,
                     .urls = s_.urls,
                     .application = s_.application,
                     .presenter = s_.presenter,
                     .registry = s_.registry,
                     .statusMenu = statusMenu_,
                     .chooser = chooser_,
                     .trace = trace_}),
      about_({.presenter = s_.presenter,
              .application = s_.application,
              .processes = s_.processes,
              .registration = registration_}),
      editors_({.settings = s_.settings,
                .rules = s_.rules,
                .registry = s_.registry,
                .workspace = s_.workspace,
                .files = s_.files,
                .presenter = s_.presenter,
                .application = s_.application,
                .runLoop = s_.runLoop,
                .statusMenu = statusMenu_,
                .chooser = chooser_,
                .trace = trace_,
                .profiles = profiles_}),
      exchange_({.rules = s_.rules,
                 .registry = s_.registry,
                 .workspace = s_.workspace,
                 .files = s_.files,
                 .calendar = s_.calendar,
                 .presenter = s_.presenter,
                 .statusMenu = statusMenu_,
                 .trace = trace_}),
      linkTester_(s_.presenter, s_.application, s_.workspace, linkIntake_),
      cleaningAdditions_(
          {.settings = s_.settings, .presenter = s_.presenter, .application = s_.application, .trace = trace_}) {}

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
  if (settings.ensureBool(keys::tabWatcher, false) && s_.scripts.available()) tabWatcher_.start();
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
    case Action::addCleaningEntry:
      cleaningAdditions_.addFromDialog();
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
    case Action::testLink:
      linkTester_.show();
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

void AppDelegate::serveScriptCommands(ScriptContext& context) {
  context.profiles = &profiles_;
  context.explainLink = [this](const std::string& link) { return explainLink(link); };
}

std::string AppDelegate::explainLink(const std::string& link) {
  const LinkMoment now{s_.events.modifierFlags(), request_.previousApplication(), std::nullopt};
  return explanationText(linkIntake_.explainLink(link, now));
}

}  // namespace routelle
