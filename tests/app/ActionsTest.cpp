#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "settings/Keys.h"
#include "support/TestApp.h"
#include "ui/Actions.h"

namespace routelle {
namespace {

void collect(const Menu& menu, std::set<std::string>& actions) {
  for (const auto& item : menu.items) {
    if (!item.action.empty()) actions.insert(item.action);
    if (item.view && !item.view->action.empty()) actions.insert(item.view->action);
    if (item.view)
      for (const auto& sub : item.view->subviews)
        if (!sub.action.empty()) actions.insert(sub.action);
    if (const auto submenu = item.openSubmenu()) collect(*submenu, actions);
  }
}

void collect(const View& view, std::set<std::string>& actions) {
  if (!view.action.empty()) actions.insert(view.action);
  for (const auto& sub : view.subviews) collect(sub, actions);
}

class ActionsTest : public test::AppTest {};

// Every entry and control the program builds sends an action the delegate knows.
TEST_F(ActionsTest, EveryMenuAndWindowSendsAKnownAction) {
  installCommonApps();
  install("Arc", "company.thebrowser.Browser");
  ASSERT_TRUE(app.system.registry.addBrowserNamed("Arc"));
  settings().setList(keys::domainRules, {"", "example.com", "Firefox"});
  settings().setList(keys::appRules, {"", "Safari/*/*/*/*/Mail"});
  settings().setBool(keys::hideChooserClose, false);
  settings().setBool(keys::hideChooserUrl, false);
  app.start();
  app.runLoop.advance(1);

  std::set<std::string> actions;
  collect(delegate().statusMenu().menu(), actions);
  delegate().chooser().showBrowsersList();
  collect(delegate().chooser().menu(), actions);
  delegate().chooser().showFloatingBrowsersWindow();
  ASSERT_TRUE(app.presenter.window());
  collect(app.presenter.window()->content, actions);
  delegate().selectionPanel().showSelectionPanel();
  collect(app.presenter.window()->content, actions);
  route("mailto:a@example.com");
  collect(delegate().linkIntake().openWithMenu(), actions);
  ASSERT_TRUE(delegate().perform("dialogOKCancel2", MenuItem{}));
  collect(app.presenter.windows().at("About").content, actions);
  for (const auto& entry : delegate().ruleEditors().dialog().applicationsPopup().entries)
    if (!entry.action.empty()) actions.insert(entry.action);

  EXPECT_GE(actions.size(), 43u);  // the walk reached every menu
  for (const auto& selector : actions) {
    auto action = actionForSelector(selector);
    ASSERT_TRUE(action) << "nothing handles \"" << selector << "\"";
    EXPECT_EQ(selectorOf(*action), selector);
  }
}

}  // namespace
}  // namespace routelle
