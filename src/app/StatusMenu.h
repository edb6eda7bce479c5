#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/StatusMenuSubmenus.h"
#include "platform/Accessibility.h"
#include "platform/LaunchServices.h"
#include "platform/Presenter.h"
#include "platform/RunLoop.h"
#include "platform/Updater.h"
#include "platform/Workspace.h"
#include "routing/TabCapture.h"
#include "selection/FloatingWindow.h"
#include "settings/BrowserProfiles.h"
#include "settings/RuleStore.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Dialogs.h"
#include "ui/Menu.h"
#include "ui/StatusMenuRefresh.h"

namespace routelle {

// The status item and its menu ("menux"), rebuilt from the stored settings
// whenever something changes and whenever the menu opens.
class StatusMenu final : public StatusMenuRefresh {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    RuleStore& rules;
    Workspace& workspace;
    LaunchServices& launchServices;
    Accessibility& accessibility;
    Updater& updater;
    Presenter& presenter;
    RunLoop& runLoop;
    FloatingWindow& floatingWindow;
    TabCapture& tabCapture;
    const Trace& trace;
    // Browsers' profiles, offered under their browser ("BROWSER — PROFILE").
    BrowserProfiles& profiles;
  };
  explicit StatusMenu(const Dependencies& deps);

  // Start-up: the status item with its icon, and the first rebuild.
  void createStatusItem();
  void fetchMenu();
  void applyStatusIcon();
  // A rebuild 0.1 seconds from now, so that it also runs while a menu is tracked.
  void scheduleMenuRefresh() override;
  // The front tab, then the rebuild ("menuWillOpen:", "printQuote1:").
  void refreshMenu() override;
  // The program itself shows the menu (reopen, the Dock): rebuilt at once, so
  // that what the user sees is current.
  void refreshMenuNow();
  // "openy:": the chosen entry becomes the default choice.
  void setDefaultChoice(const MenuItem& sender);
  // "Hide Menu Bar": the status item goes until the next start.
  void removeStatusItem();

  const Menu& menu() const { return menu_; }
  const StatusItemModel& statusItem() const { return statusItem_; }

 private:
  // What the menu shows, read once its settings are repaired.
  struct ShownSettings {
    std::string defaultChoice;  // "login"
    std::string priority;
    std::string hidden;
    statusmenu::InstalledBrowsers browsers;
    statusmenu::ProfileNames profileNames;
    std::optional<std::string> defaultProfile;  // its display name, while the default choice's browser lists it
    std::shared_ptr<statusmenu::ApplicationPaths> apps;
    std::array<std::optional<std::string>, statusmenu::kModifierEntries.size()> modifierBrowsers;
    std::optional<std::string> onion;
    std::shared_ptr<const StoredListView> domainRules;
    std::shared_ptr<const StoredListView> appRules;
    bool selectionAssistant = false;
    bool tabWatcher = false;
    bool tabCaptureAvailable = true;
    std::optional<std::string> selectionUnavailableReason;
    statusmenu::PreferenceMarks marks;
    std::int64_t shareBehavior = 0;
    bool ownHttpHandler = false;
    std::string capturedTab;
  };

  void rebuild();
  ShownSettings repairSettings();
  void buildMenu(const ShownSettings& shown);

  SettingsStore& settings_;
  RuleStore& rules_;
  Workspace& workspace_;
  LaunchServices& launchServices_;
  Accessibility& accessibility_;
  Updater& updater_;
  Presenter& presenter_;
  RunLoop& runLoop_;
  FloatingWindow& floatingWindow_;
  TabCapture& tabCapture_;
  const Trace& trace_;
  BrowserProfiles& profiles_;

  Menu menu_;  // "menux"
  StatusItemModel statusItem_;
  bool statusItemShown_ = false;       // "statusBarItem"
  std::optional<int> pendingRefresh_;  // "uiUpdateTimerx"
  int defaultBrowserNotices_ = 0;      // "numbShow": rebuilds that showed the notice
};

}  // namespace routelle
