#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/host/HostPresenter.h"
#include "ui/Menu.h"

namespace routelle {
namespace {

// A pop-up entry whose action opens a panel and then, from the main queue,
// presses "Cancel": the panel's answer must still wait for the dialog to end.
class PanelThenCancel final : public ActionTarget {
 public:
  PanelThenCancel(HostPresenter& presenter, HostRunLoop& queue, Transcript& transcript)
      : presenter_(presenter), queue_(queue), transcript_(transcript) {}
  bool perform(const std::string&, const MenuItem&) override {
    presenter_.beginOpenPanel(OpenPanelModel{},
                              [this](const std::optional<std::string>&) { transcript_.add("panel answered"); });
    queue_.schedule(0, [this] { presenter_.pressAlertButton(1); });
    return true;
  }

 private:
  HostPresenter& presenter_;
  HostRunLoop& queue_;
  Transcript& transcript_;
};

class HostPresenterDialogTest : public ::testing::Test {
 protected:
  HostPresenterDialogTest() {
    View applications;
    applications.kind = View::Kind::popUpButton;
    applications.identifier = "applications";
    applications.entries = {{"Mail", {}, {}}, {"Pick", {}, "pick"}};
    applications.selectedIndex = 0;
    View field;
    field.kind = View::Kind::textField;
    View box;
    box.kind = View::Kind::button;
    box.buttonType = View::ButtonType::checkbox;
    dialog.accessory = View{};
    dialog.accessory->subviews = {applications, field, box};
  }
  void answer(const std::string& given) {
    std::string problem;
    presenter.dialogAnswers.push_back(*parseDialogAnswer(given, problem));
  }
  std::size_t line(const std::string& text) const {
    const auto& lines = transcript.lines;
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), text) - lines.begin());
  }

  Transcript transcript;
  HostRunLoop queue;
  // The target keeps the presenter it will call; the presenter gets the target built.
  PanelThenCancel target{presenter, queue, transcript};
  HostPresenter presenter{transcript, queue, target};
  AlertModel dialog{"Per App", "", "warning", {"OK", "Cancel"}, std::nullopt};
};

TEST_F(HostPresenterDialogTest, WhatTheUserDidIsWrittenBackIntoTheModel) {
  answer("input=a.example;background=on;OK");
  EXPECT_EQ(presenter.runModalAlert(dialog), 0);
  EXPECT_EQ(dialog.accessory->subviews[1].text, "a.example");
  EXPECT_TRUE(dialog.accessory->subviews[2].checked);
  // Without an answer the dialog is cancelled.
  EXPECT_EQ(presenter.runModalAlert(dialog), 1);
  EXPECT_FALSE(presenter.answerProblem);
}

TEST_F(HostPresenterDialogTest, EachEditIsToldAsItHappensAndOnlyWhatItChangedIsPrinted) {
  View decision;
  decision.kind = View::Kind::textField;
  decision.identifier = "decision";
  dialog.accessory->subviews.push_back(decision);
  std::vector<std::string> heard;
  dialog.fieldChanged = [&heard](AlertModel& alert) {
    auto& views = alert.accessory->subviews;
    heard.push_back(views[1].text + "|" + views[0].entries[static_cast<std::size_t>(views[0].selectedIndex)].title +
                    "|" + (views[2].checked ? "on" : "off"));
    views[3].text = "for " + views[1].text;
  };
  answer("input=a.example;type=/docs;background=on;input=b;OK");
  EXPECT_EQ(presenter.runModalAlert(dialog), 0);
  EXPECT_THAT(heard, ::testing::ElementsAre("a.example|Mail|off", "a.example/docs|Mail|off", "a.example/docs|Mail|on",
                                            "b|Mail|on"));
  EXPECT_EQ(std::count_if(transcript.lines.begin(), transcript.lines.end(),
                          [](const std::string& l) { return l.starts_with("  decision shows"); }),
            3);
  EXPECT_LT(line("typed \"/docs\" after what the field held"), line("  decision shows \"for a.example/docs\""));
  EXPECT_LT(line("  decision shows \"for a.example/docs\""), line("  decision shows \"for b\""));
  EXPECT_LT(line("  decision shows \"for b\""), transcript.lines.size());
}

TEST_F(HostPresenterDialogTest, APanelOpenedWhileTheDialogRunsAnswersAfterItEnded) {
  answer("app=Pick");
  EXPECT_EQ(presenter.runModalAlert(dialog), 1);
  EXPECT_EQ(dialog.accessory->subviews[0].selectedIndex, 1);
  EXPECT_EQ(line("panel answered"), transcript.lines.size());
  queue.runPending();
  EXPECT_LT(line("pressed \"Cancel\""), line("panel answered"));
  EXPECT_LT(line("panel answered"), transcript.lines.size());
}

TEST_F(HostPresenterDialogTest, AnAnswerTheDialogCannotTakeCancelsIt) {
  for (const char* given : {"app=Safari;OK", "input=x", "app=Pick;OK", "app=Mail;Apply"}) {
    presenter.answerProblem.reset();
    answer(given);
    EXPECT_EQ(presenter.runModalAlert(dialog), 1) << given;
    EXPECT_TRUE(presenter.answerProblem) << given;
    queue.runPending();
  }
  EXPECT_THAT(transcript.lines, ::testing::Not(::testing::Contains("chose")));
}

}  // namespace
}  // namespace routelle
