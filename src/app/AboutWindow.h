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
  // The services and components it acts through.
  struct Dependencies {
    Presenter& presenter;
    Application& application;
    ProcessLauncher& processes;
    Registration& registration;
  };
  explicit AboutWindow(const Dependencies& deps)
      : presenter_(deps.presenter),
        application_(deps.application),
        processes_(deps.processes),
        registration_(deps.registration) {}

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
