#pragma once
#include "app/BrowsersListChooser.h"
#include "app/StatusMenu.h"
#include "platform/Application.h"
#include "platform/LaunchServices.h"
#include "platform/Presenter.h"
#include "platform/Updater.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "settings/BrowserRegistry.h"
#include "support/Trace.h"

namespace routelle {

// Becoming the default web and mail handler, the updater and its callbacks, the
// maker's pages, and adding a browser from an open panel.
class Registration final : public UpdaterDelegate {
 public:
  // The services and components it acts through.
  struct Dependencies {
    LaunchServices& launchServices;
    Updater& updater;
    Workspace& workspace;
    const UrlParser& urls;
    Application& application;
    Presenter& presenter;
    BrowserRegistry& registry;
    StatusMenu& statusMenu;
    BrowsersListChooser& chooser;
    const Trace& trace;
  };
  explicit Registration(const Dependencies& deps);

  // Start-up: the one-time offer to become the default browser, and the updater's set-up.
  void offerToBecomeDefaultBrowser(SettingsStore& settings);
  void configureUpdater();

  void setBrowserDefault();      // "setBrowserDefault"
  void toggleMailDefault();      // "setMailDefault"
  void checkForUpdates();        // "checkNow"
  void toggleAutomaticChecks();  // "checkWeek"
  void openInstructions();       // "readme"
  void openMakerSite();          // "maisApps"
  void openContactPage();        // "saveBte"
  void addBrowser();             // "openNew"

  void updaterDidNotFindUpdate() override;
  void updaterDidFindValidUpdate() override;
  void updaterDidFinishLoadingAppcast() override;
  bool updaterShouldRelaunchApplication() override;
  void updaterWillRelaunchApplication() override;

 private:
  void openPage(std::string_view page);

  LaunchServices& launchServices_;
  Updater& updater_;
  Workspace& workspace_;
  const UrlParser& urls_;
  Application& application_;
  Presenter& presenter_;
  BrowserRegistry& registry_;
  StatusMenu& statusMenu_;
  BrowsersListChooser& chooser_;
  const Trace& trace_;
};

}  // namespace routelle
