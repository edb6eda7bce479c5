#pragma once
#include "platform/Accessibility.h"
#include "platform/Events.h"
#include "platform/LinkDetector.h"
#include "platform/RunLoop.h"
#include "routing/BrowserChooser.h"
#include "routing/LinkIntake.h"
#include "routing/LinkRequest.h"
#include "selection/FloatingWindow.h"
#include "selection/SelectionPanel.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Menu.h"

namespace routelle {

// Global event kinds the assistant watches, as masks.
namespace selectionEvents {
inline constexpr EventMask clicks = maskOf(EventType::leftMouseDown) | maskOf(EventType::leftMouseUp);
inline constexpr EventMask drags = maskOf(EventType::leftMouseDragged);
inline constexpr EventMask outsideClicks = maskOf(EventType::leftMouseDown) | maskOf(EventType::rightMouseDown);
inline constexpr EventMask keys =
    maskOf(EventType::keyDown) | maskOf(EventType::keyUp) | maskOf(EventType::flagsChanged);
static_assert(clicks == 6 && drags == 64 && outsideClicks == 10 && keys == 7168);
}  // namespace selectionEvents

// The text selection assistant: while "Show List on text selection" is on, text the
// user selects in another application offers the browsers for a link in it (the
// mail applications for a mail address), or the selection panel for plain text. Events in other applications hide the
// floating window.
class SelectionMonitor {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    Events& events;
    RunLoop& runLoop;
    Accessibility& accessibility;
    const LinkDetector& links;
    LinkRequest& request;
    FloatingWindow& window;
    SelectionPanel& panel;
    BrowserChooser& chooser;
    LinkIntake& mailLinks;
    const Trace& trace;
  };
  explicit SelectionMonitor(const Dependencies& deps);

  // "installSelectionMonitors": once, at start-up; the panel's actions join the menu ("menuy").
  void installSelectionMonitors(Menu& selectionMenu);

  // "mar": false while a selection is read, and for good once trust was found missing.
  bool ready() const { return ready_; }

 private:
  // The check after a click, a release or (later) a drag: only when ready and switched on.
  void checkSelection();
  // "handleSelection": the panel for plain text, the browsers for a link
  void actOnSelection();

  SettingsStore& settings_;
  Events& events_;
  RunLoop& runLoop_;
  Accessibility& accessibility_;
  const LinkDetector& links_;
  LinkRequest& request_;
  FloatingWindow& window_;
  SelectionPanel& panel_;
  BrowserChooser& chooser_;
  LinkIntake& mailLinks_;  // a selected mail address goes to the mail applications
  const Trace& trace_;
  bool ready_ = true;  // "mar"
};

}  // namespace routelle
