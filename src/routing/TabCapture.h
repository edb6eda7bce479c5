#pragma once
#include <mutex>
#include <optional>
#include <string>

#include "platform/Presenter.h"
#include "platform/ScriptRunner.h"
#include "platform/SystemInfo.h"
#include "platform/Workspace.h"
#include "settings/SettingsStore.h"

namespace routelle {

// The URL of the frontmost browser's current tab, read through AppleScript, so
// that the status menu can offer to move the page to another browser.
class TabCapture {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    Workspace& workspace;
    ScriptRunner& scripts;
    Presenter& presenter;
    SystemInfo& system;
  };
  explicit TabCapture(const Dependencies& deps);

  // Empties the captured URL, then reads the front tab when the frontmost
  // application is a scripted browser.
  void captureFrontTabURL();
  // The captured URL, or empty ("urls").
  std::string frontTabUrl() const;
  // Whether browser tabs can be read and moved on this system at all.
  bool available() const { return scripts_.available(); }

 private:
  bool readFrontTabURL(const std::string& name, const RunningApplication& app);
  void askAutomationPermission(const RunningApplication& app);

  SettingsStore& settings_;
  Workspace& workspace_;
  ScriptRunner& scripts_;
  Presenter& presenter_;
  SystemInfo& system_;
  mutable std::mutex mutex_;
  std::string frontTabUrl_;
};

}  // namespace routelle
