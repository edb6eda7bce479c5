#pragma once
#include <optional>
#include <utility>

#include "platform/Events.h"
#include "platform/Presenter.h"
#include "platform/Workspace.h"
#include "selection/EventMonitor.h"
#include "ui/View.h"

namespace routelle {

// The one floating window the program shows ("newWindow"): the browsers window of
// the chooser or the selection panel, whichever showed last.
class FloatingWindow {
 public:
  // The services it acts through.
  struct Dependencies {
    Presenter& presenter;
    Workspace& workspace;
  };
  explicit FloatingWindow(const Dependencies& deps) : presenter_(deps.presenter), workspace_(deps.workspace) {}

  // Start-up: a plain titled window, not shown.
  void create();
  bool exists() const { return window_.has_value(); }
  bool visible() const { return window_ && presenter_.floatingWindowVisible(); }
  // Remembers the frontmost application, styles the content as a floating panel
  // ("styleFloatingWindow") and shows it with its lower-left corner at the origin.
  void show(View content, Point origin);
  // "hideFloatingWindow": orders the window out when it is visible.
  void hide();
  // "isShowing": the program showed the window and has not hidden it since.
  bool isShowing() const { return showing_; }
  // The application that was frontmost when the window last opened ("oApp"),
  // when it had a name ("bomxx").
  const std::optional<RunningApplication>& previousFrontApplication() const { return previousFront_; }
  // The same, handed out once: the focus goes back to it at most once per showing.
  std::optional<RunningApplication> takePreviousFrontApplication() {
    return std::exchange(previousFront_, std::nullopt);
  }
  const std::optional<WindowModel>& model() const { return window_; }

  // "eventMonitor": hides the window on a click of the mask's kinds in another
  // application. It runs while the window shows, so that a right click elsewhere
  // hides the window as a left click does.
  void createOutsideClickMonitor(Events& events, EventMask mask);

 private:
  void style(View content);

  Presenter& presenter_;
  Workspace& workspace_;
  std::optional<WindowModel> window_;
  bool showing_ = false;
  std::optional<RunningApplication> previousFront_;
  std::optional<EventMonitor> outsideClicks_;
};

}  // namespace routelle
