#include "support/TestApp.h"

#include <sys/prctl.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "platform/host/BrowserTabs.h"

namespace routelle::test {

std::filesystem::path openCommandPath() {
  return std::filesystem::path(ROUTELLE_DRIVER).parent_path() / "routelle-open";
}

void reapChildren() {
  int status = 0;
  while (waitpid(-1, &status, 0) > 0 || errno == EINTR) {
  }
}

std::vector<std::string> titles(const Menu& menu) {
  std::vector<std::string> out;
  for (const auto& item : menu.items) out.push_back(item.title);
  return out;
}

AppSpec applicationBundle(const std::string& name, const std::string& identifier, std::vector<std::string> schemes,
                          std::vector<std::string> extensions) {
  AppSpec wanted;
  wanted.name = name;
  wanted.identifier = identifier;
  wanted.urlSchemes = std::move(schemes);
  wanted.documentExtensions = std::move(extensions);
  return wanted;
}

std::string openRun(const std::vector<std::string>& args) {
  std::string line = "run /usr/bin/open";
  for (const auto& a : args) line += " " + (a.find(' ') == std::string::npos && !a.empty() ? a : "\"" + a + "\"");
  return line;
}

AppTest::AppTest() {
  // Applications started detached outlive the open stand-in; adopting them lets
  // launches() wait until they have logged.
  static const bool adopted = prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
  EXPECT_TRUE(adopted);
}

// Before the world goes: nothing may still be writing into it.
AppTest::~AppTest() { reapChildren(); }

std::filesystem::path AppTest::install(const AppSpec& wanted) { return installApplication(app.system.world, wanted); }

std::filesystem::path AppTest::install(const std::string& name, const std::string& identifier,
                                       const std::string& folder) {
  AppSpec wanted;
  wanted.name = name;
  wanted.identifier = identifier;
  wanted.folder = folder;
  return install(wanted);
}

void AppTest::installCommonApps() {
  install("Safari", "com.apple.Safari");
  install("Firefox", "org.mozilla.firefox");
  install("Google Chrome", "com.google.Chrome");
  install(applicationBundle("Mail", "com.apple.mail", {"mailto"}));
}

void AppTest::setRunning(const std::vector<std::string>& names) {
  auto& workspace = app.system.workspace;
  std::vector<RunningApplication> running;
  for (const auto& name : names) running.push_back(workspace.runningApplicationNamed(name));
  workspace.setRunningApplications(std::move(running));
}

void AppTest::showFrontTabs(const std::string& browser, const std::vector<std::string>& tabs) {
  auto& workspace = app.system.workspace;
  workspace.setFrontmostApplication(workspace.runningApplicationNamed(browser));
  BrowserTabs(app.system.world).setWindow(browser, {tabs, 0});
}

std::vector<std::string> AppTest::route(const std::string& link, std::uint64_t flags) {
  const std::size_t before = transcript().size();
  app.events.flags = flags;
  delegate().linkIntake().handleGetURLEvent(link);
  app.events.flags = 0;
  return runsSince(before);
}

void AppTest::click(const std::string& key) {
  app.presenter.choice = key;
  if (auto clicked = app.presenter.takeWindowChoice()) delegate().perform(clicked->action, *clicked);
  app.presenter.choice.reset();
}

std::vector<std::string> AppTest::runsSince(std::size_t line) const {
  std::vector<std::string> out;
  for (std::size_t i = line; i < transcript().size(); ++i)
    if (transcript()[i].starts_with("run ")) out.push_back(transcript()[i]);
  return out;
}

std::vector<std::string> AppTest::launches() {
  reapChildren();
  std::vector<std::string> out;
  std::ifstream in(launchLog(app.system.world));
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::size_t AppTest::positionOf(const std::string& line) const {
  return static_cast<std::size_t>(std::find(transcript().begin(), transcript().end(), line) - transcript().begin());
}

}  // namespace routelle::test
