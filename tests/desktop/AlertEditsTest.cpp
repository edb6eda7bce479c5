// The desktop's alerts tell the core of each edit as the user types, and show
// what the core then changed, without waiting for a button.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QtTest/QTest>

#include "platform/linux/LinuxPresenter.h"

namespace routelle {
namespace {

TEST(AlertEditsTest, EachKeyTypedIsToldAndWhatTheCoreChangedIsShown) {
  // The test's own application, gone with it: one destroyed at exit would outlive Qt's globals.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "routelle_desktop_tests";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  View field;
  field.kind = View::Kind::textField;
  field.identifier = "link";
  field.editable = true;
  View decision;
  decision.kind = View::Kind::textField;
  decision.identifier = "decision";
  decision.text = "nothing yet";
  AlertModel alert{"Test a Link", "", "informational", {"OK"}, View{}};
  alert.accessory->frame = {0, 0, 300, 60};
  alert.accessory->subviews = {field, decision};
  std::vector<std::string> heard;
  alert.fieldChanged = [&heard](AlertModel& model) {
    auto& views = model.accessory->subviews;
    heard.push_back(views[0].text);
    views[1].text = "for " + views[0].text;
  };

  LinuxPresenter presenter;
  std::string shown;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_TRUE(dialog);
    auto* edit = dialog->findChild<QLineEdit*>("link");
    ASSERT_TRUE(edit);
    QTest::keyClicks(edit, "ab");
    if (auto* label = dialog->findChild<QLabel*>("decision")) shown = label->text().toStdString();
    presenter.pressAlertButton(0);
  });
  EXPECT_EQ(presenter.runModalAlert(alert), 0);
  EXPECT_THAT(heard, ::testing::ElementsAre("a", "ab"));
  EXPECT_EQ(shown, "for ab");
  EXPECT_EQ(alert.accessory->subviews[0].text, "ab");
}

}  // namespace
}  // namespace routelle
