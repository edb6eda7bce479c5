#pragma once
#include <optional>

#include "app/Registration.h"
#include "platform/Application.h"
#include "platform/Presenter.h"
#include "platform/ProcessLauncher.h"
#include "ui/View.h"

namespace routelle {

// The About window ("newWindow2") and its buttons.
class AboutWindow {
 public:
  AboutWindow(Presenter& presenter, Application& application, ProcessLauncher& processes, Registration& registration)
      : presenter_(presenter), application_(application), processes_(processes), registration_(registration) {}

  // Start-up: a plain titled window, not shown.
  void create();
  void show();                  // "dialogOKCancel2"
  void close();                 // "cancelBt"
  void openSupport();           // "saveBte"
  void openAcknowledgements();  // "saveBte2"

 private:
  Presenter& presenter_;
  Application& application_;
  ProcessLauncher& processes_;
  Registration& registration_;
  std::optional<WindowModel> window_;
};

}  // namespace routelle
