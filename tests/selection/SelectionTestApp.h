#pragma once
#include <string>

#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle::test {

// The program started with the selection assistant on and trusted; TextEdit is in front.
class SelectionTestApp : public AppTest {
 protected:
  void SetUp() override {
    installCommonApps();
    install("TextEdit", "com.apple.TextEdit");
    app.accessibility.setTrusted(true);
    settings().setBool(keys::selectionAssistant, true);
    app.start();
    app.runLoop.advance(1);  // the start-up's menu build
    app.system.workspace.setFrontmostApplication(app.system.workspace.runningApplicationNamed("TextEdit"));
  }

  // The user selects the text (empty: a click that selects nothing) and lets the button go.
  void selectAndRelease(const std::string& text) {
    app.accessibility.focusElementSelecting(text);
    app.events.deliver(EventType::leftMouseUp);
  }
  bool windowVisible() { return app.presenter.floatingWindowVisible(); }
  // What the floating window shows: "panel", "browsers" or "".
  std::string shown() {
    if (!windowVisible() || !app.presenter.window()) return "";
    const auto& views = app.presenter.window()->content.subviews;
    return !views.empty() && views[0].text == "Search" ? "panel" : "browsers";
  }
  std::string currentLink() { return delegate().linkRequest().currentLink(); }
};

}  // namespace routelle::test
