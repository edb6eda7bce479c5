#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "HostApp.h"
#include "platform/host/AppInstaller.h"
#include "support/TempDir.h"

namespace routelle::test {

// The open stand-in built beside the driver.
std::filesystem::path openCommandPath();

// Waits for every child and every orphaned descendant: the test process adopts
// what the open stand-in starts detached, as the driver does.
void reapChildren();

// The titles of a menu's entries, in order.
std::vector<std::string> titles(const Menu& menu);

// The whole program over a temporary world, for following a link to its launch.
class AppTest : public ::testing::Test {
 protected:
  AppTest();
  ~AppTest() override;

  std::filesystem::path install(const AppSpec& wanted);
  std::filesystem::path install(const std::string& name, const std::string& identifier,
                                const std::string& folder = "/Applications");
  // Safari, Firefox and Google Chrome, and Mail declaring "mailto".
  void installCommonApps();
  void setRunning(const std::vector<std::string>& names);
  // The (installed) browser is frontmost with window 1 showing the tabs, the first one active.
  void showFrontTabs(const std::string& browser, const std::vector<std::string>& tabs);

  SettingsStore& settings() { return app.system.settings; }
  AppDelegate& delegate() { return app.delegate; }
  const std::vector<std::string>& transcript() const { return app.transcript.lines; }

  // A get-URL event with the keys held; answers the processes it started.
  std::vector<std::string> route(const std::string& link, std::uint64_t flags = 0);
  // Picks a floating-window button as the user would.
  void click(const std::string& key);

  // "run ..." lines of the transcript from the given line on.
  std::vector<std::string> runsSince(std::size_t line = 0) const;
  // Launch-log lines, once everything started has exited.
  std::vector<std::string> launches();
  // Position of the first transcript line equal to `line`; the size when absent.
  std::size_t positionOf(const std::string& line) const;

  TempDir dir;
  HostApp app{dir.path(), openCommandPath()};
};

AppSpec applicationBundle(const std::string& name, const std::string& identifier, std::vector<std::string> schemes = {},
                          std::vector<std::string> extensions = {});

// The transcript line of a start of the open command.
std::string openRun(const std::vector<std::string>& args);

}  // namespace routelle::test
