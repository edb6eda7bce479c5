#pragma once
#include "app/StatusMenu.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Presenter.h"
#include "platform/Workspace.h"
#include "routing/BrowserLauncher.h"
#include "routing/TabWatcher.h"
#include "settings/BrowserRegistry.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Menu.h"

namespace routelle {

// The on/off settings of the status menu and the entries that act on them at once.
class PreferenceToggles {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    BrowserRegistry& registry;
    Accessibility& accessibility;
    Application& application;
    Presenter& presenter;
    Workspace& workspace;
    StatusMenu& statusMenu;
    BrowserLauncher& launcher;
    TabWatcher& tabWatcher;
    const Trace& trace;
  };
  explicit PreferenceToggles(const Dependencies& deps);

  void toggleOpenInBackground();                           // "openBack"
  void toggleMenuBarOnly();                                // "only"
  void toggleHideMenuBar();                                // "hideAllOnly"
  void toggleImagesOnly();                                 // "onlyx"
  void toggleMultipleFileTypes();                          // "showEdit"
  void toggleShowClose();                                  // "changeHexit"
  void toggleShowUrl();                                    // "changesUrl"
  void toggleColoredIcon();                                // "changeIcon"
  void setIconSize(const MenuItem& sender);                // "slideMove:": the sender's slider holds the size
  void toggleSelectionList();                              // "expActive"
  void toggleTabWatcher();                                 // "expiActive"
  void togglePriority();                                   // "changePriority:": either entry switches
  void toggleShareBehavior();                              // "changeBehavior"
  void toggleCleanLinks();                                 // "changeCleanLinks"
  void openBrowserExtensionsPage(const MenuItem& sender);  // "openBrowserExtensionsPageWithSender:"
  void toggleHiddenBrowser(const MenuItem& sender);        // "hideBrowsersWithSender:"

 private:
  SettingsStore& settings_;
  BrowserRegistry& registry_;
  Accessibility& accessibility_;
  Application& application_;
  Presenter& presenter_;
  Workspace& workspace_;
  StatusMenu& statusMenu_;
  BrowserLauncher& launcher_;
  TabWatcher& tabWatcher_;
  const Trace& trace_;
};

}  // namespace routelle
