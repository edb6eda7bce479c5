#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/Events.h"
#include "ui/Dialogs.h"
#include "ui/Menu.h"
#include "ui/View.h"

namespace routelle {

// Draws what the core builds and reports what the user did.
class Presenter {
 public:
  virtual ~Presenter() = default;
  // Tracks the menu at the location until the user picks an entry or dismisses
  // it; answers the entry picked (the caller performs its action).
  virtual std::optional<MenuItem> popUpMenu(const Menu& menu, Point location) = 0;
  // The shared floating window: shown with its lower-left corner at the origin.
  virtual void showFloatingWindow(const WindowModel& window, Point origin) = 0;
  virtual void orderOutFloatingWindow() = 0;
  virtual bool floatingWindowVisible() = 0;
  // Closes a menu that is being tracked (the status menu before a launch).
  virtual void cancelMenuTracking(const Menu& menu) = 0;
  virtual void activate(bool ignoringOtherApps) = 0;

  // The status item: created once, then kept in step with the model and the menu.
  virtual void showStatusItem(const StatusItemModel& item, const Menu& menu) = 0;
  virtual void removeStatusItem() = 0;
  // Runs an alert modally; answers the index of the button pressed. What the
  // user left in its accessory view (text typed, pop-up entries selected,
  // checkboxes) is written back into the model. Picking a pop-up entry that has
  // an action sends it while the alert runs; main-queue work runs meanwhile.
  // With `fieldChanged` set, every edit is written back as it happens, reported,
  // and the accessory redrawn from the model.
  virtual int runModalAlert(AlertModel& alert) = 0;
  // Presses a button of the alert being run modally, as a click would, which
  // ends it; nothing when no alert runs.
  virtual void pressAlertButton(std::size_t index) = 0;
  // Shows an open panel; the completion receives the chosen path, or nothing.
  virtual void beginOpenPanel(const OpenPanelModel& panel, std::function<void(std::optional<std::string>)> done) = 0;
  // Other windows, by name ("About"): shown key and in front, or ordered out.
  virtual void showWindow(const std::string& name, const WindowModel& window) = 0;
  virtual void orderOutWindow(const std::string& name) = 0;
};

}  // namespace routelle
