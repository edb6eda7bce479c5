#pragma once
#include <optional>

#include "platform/Events.h"
#include "platform/Presenter.h"
#include "platform/Workspace.h"
#include "ui/View.h"

namespace routelle {

// The one floating window the program shows ("newWindow"): the browsers window of
// the chooser or the selection panel, whichever showed last.
class FloatingWindow {
 public:
  FloatingWindow(Presenter& presenter, Workspace& workspace) : presenter_(presenter), workspace_(workspace) {}

  // Start-up: a plain titled window, not shown.
  void create();
  bool exists() const { return window_.has_value(); }
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
  const std::optional<WindowModel>& model() const { return window_; }

 private:
  void style(View content);

  Presenter& presenter_;
  Workspace& workspace_;
  std::optional<WindowModel> window_;
  bool showing_ = false;
  std::optional<RunningApplication> previousFront_;
};

}  // namespace routelle
