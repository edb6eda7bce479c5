#pragma once
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/View.h"

namespace routelle::linux_desktop {

// Draws a view model as Qt widgets, the one way every window, dialog and menu
// view of the program is drawn. Frames are the model's (origin at the lower
// left of the parent); what the user changes is written back with readBack().
class ModelViews {
 public:
  // A control's action (a button pressed, a slider moved): the view as it is now.
  using ControlAction = std::function<void(const View& control)>;
  // A pop-up entry with an action was picked.
  using EntryAction = std::function<void(const PopUpEntry& entry)>;

  ModelViews(ControlAction onControl, EntryAction onEntry)
      : onControl_(std::move(onControl)), onEntry_(std::move(onEntry)) {}

  // The widget for the view and its subviews; the model must outlive it.
  QWidget* build(View& view, QWidget* parent);
  // Writes what the user typed, checked, picked or slid into the models.
  void readBack();

 private:
  QWidget* control(View& view, QWidget* parent);
  struct Bound {
    View* model;
    QWidget* widget;
  };
  ControlAction onControl_;
  EntryAction onEntry_;
  std::vector<Bound> bound_;
};

}  // namespace routelle::linux_desktop
