#pragma once
#include <vector>

#include "platform/Events.h"
#include "platform/Presenter.h"
#include "platform/SystemInfo.h"
#include "platform/Workspace.h"
#include "routing/BrowserLauncher.h"
#include "routing/LinkRequest.h"
#include "routing/Router.h"
#include "selection/FloatingWindow.h"
#include "settings/BrowserProfiles.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Actions.h"
#include "ui/Menu.h"

namespace routelle {

// The browsers list for the current link: a pop-up menu at the pointer, or the
// floating window of browser icons.
class BrowsersListChooser final : public BrowserChooser {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    Workspace& workspace;
    Presenter& presenter;
    Events& events;
    SystemInfo& system;
    LinkRequest& request;
    BrowserLauncher& launcher;
    FloatingWindow& window;
    const Menu& selectionMenu;
    ActionTarget& actions;
    const Trace& trace;
    // Browsers' profiles, offered under their browser ("BROWSER — PROFILE").
    BrowserProfiles& profiles;
  };
  explicit BrowsersListChooser(const Dependencies& deps);

  // The pop-up menu or the window, as "imonly" says.
  void showBrowsersList() override;
  void popUpBrowsersMenu() override;
  // Rebuilds the chooser menu ("menu") and its visible entries ("bts").
  void buildBrowsersListMenu() override;
  void showFloatingBrowsersWindow() override;
  // "openx:": the chosen entry's key equivalent names the browser.
  void openChoice(const MenuItem& sender);
  // "xNada": Close.
  void close();

  const Menu& menu() const { return menu_; }

 private:
  SettingsStore& settings_;
  Workspace& workspace_;
  Presenter& presenter_;
  Events& events_;
  SystemInfo& system_;
  LinkRequest& request_;
  BrowserLauncher& launcher_;
  FloatingWindow& window_;
  const Menu& selectionMenu_;
  ActionTarget& actions_;
  const Trace& trace_;
  BrowserProfiles& profiles_;
  Menu menu_;                             // "menu"
  std::vector<MenuItem> visibleChoices_;  // "bts": the entries the window shows
};

}  // namespace routelle
