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

  // The user changed a control without an action of its own (typed in a field,
  // picked a pop-up entry, set a checkbox); its model already holds the change.
  using FieldChanged = std::function<void()>;

  ModelViews(ControlAction onControl, EntryAction onEntry, FieldChanged onEdit = {})
      : onControl_(std::move(onControl)), onEntry_(std::move(onEntry)), onEdit_(std::move(onEdit)) {}

  // The widget for the view and its subviews; the model must outlive it.
  QWidget* build(View& view, QWidget* parent);
  // Writes what the user typed, checked, picked or slid into the models.
  void readBack();
  // Shows again the models' texts of the fields the user does not edit.
  void showModelText();

 private:
  QWidget* control(View& view, QWidget* parent);
  struct Bound {
    View* model;
    QWidget* widget;
  };
  ControlAction onControl_;
  EntryAction onEntry_;
  FieldChanged onEdit_;
  std::vector<Bound> bound_;
};

}  // namespace routelle::linux_desktop
