#include <gtest/gtest.h>

#include "platform/host/DialogAnswer.h"

namespace routelle {
namespace {

TEST(DialogAnswer, ReadsStepsInOrderAndTheButtonLast) {
  std::string problem;
  auto answer = parseDialogAnswer("browser=Firefox;input=a=b;background=on;app=;Cancel", problem);
  ASSERT_TRUE(answer) << problem;
  ASSERT_EQ(answer->steps.size(), 4u);
  EXPECT_EQ(answer->steps[0].control, DialogAnswer::Control::browsers);
  EXPECT_EQ(answer->steps[1].value, "a=b");
  EXPECT_EQ(answer->steps[2].control, DialogAnswer::Control::checkbox);
  EXPECT_EQ(answer->steps[3].control, DialogAnswer::Control::applications);
  EXPECT_EQ(answer->steps[3].value, "");
  EXPECT_EQ(answer->button, "Cancel");
  // A pick that ends the dialog by itself needs no button.
  ASSERT_TRUE(parseDialogAnswer("app=Choose another app", problem));
  EXPECT_FALSE(parseDialogAnswer("app=Choose another app", problem)->button);
}

TEST(DialogAnswer, MalformedAnswersAreRefusedWithTheReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "empty item"},
      {"input=a;;OK", "empty item"},
      {"OK;input=a", "nothing may follow"},
      {"OK;Cancel", "nothing may follow"},
      {"background=yes;OK", "on or off"},
      {"colour=red;OK", "unknown dialog item \"colour\""},
  };
  for (const auto& [given, reason] : cases) {
    std::string problem;
    EXPECT_FALSE(parseDialogAnswer(given, problem)) << given;
    EXPECT_NE(problem.find(reason), std::string::npos) << given << ": " << problem;
  }
}

}  // namespace
}  // namespace routelle
