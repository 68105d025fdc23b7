#include <gtest/gtest.h>

#include "fakes/FakeUi.h"

namespace vrk {
namespace {

using test::FakeUi;

TEST(Gauge, NoWindowBelow150Steps) {
  FakeUi ui;
  ui.OpenGauge(149, "Working", true);
  EXPECT_FALSE(ui.gaugeShown);
  ui.CancelGauge();
  for (int i = 0; i < 149; ++i) EXPECT_FALSE(ui.StepGauge());
}

TEST(Gauge, StepIsAHundredthOfTheTotal) {
  FakeUi ui;
  ui.OpenGauge(150, "Working", false);
  EXPECT_TRUE(ui.gaugeShown);
  EXPECT_EQ(ui.gaugeMaximum, 75);
  EXPECT_FALSE(ui.gaugeCancelEnabled);

  ui.OpenGauge(1000, "Working", true);
  EXPECT_EQ(ui.gaugeMaximum, 100);
  const int before = ui.doEventsCalls;
  for (int i = 1; i <= 1000; ++i) {
    ui.StepGauge();
    if (i == 9) {
      EXPECT_EQ(ui.gaugeValue, 0);
    }
    if (i == 10) {
      EXPECT_EQ(ui.gaugeValue, 1);
    }
  }
  EXPECT_EQ(ui.gaugeValue, 100);
  EXPECT_EQ(ui.doEventsCalls - before, 100);  // events run only at step multiples
  ui.CloseGauge();
  EXPECT_FALSE(ui.gaugeShown);
}

TEST(Gauge, CancelIsNoticedAtTheNextStepAndClearedByTheNextGauge) {
  FakeUi ui;
  ui.OpenGauge(500, "Working", true);
  EXPECT_FALSE(ui.StepGauge());
  ui.CancelGauge();
  EXPECT_TRUE(ui.StepGauge());
  ui.CloseGauge();
  ui.OpenGauge(500, "Again", true);
  EXPECT_FALSE(ui.StepGauge());
}

TEST(Prompts, SetTheDialogCancelFlag) {
  FakeUi ui;
  ui.promptAnswers = {std::string("12"), std::nullopt};
  EXPECT_EQ(ui.AskNumber({.caption = "Select Number", .question = "Which?"}), "12");
  EXPECT_EQ(ui.dialogCancel, 0);
  EXPECT_EQ(ui.AskName({.caption = "Name", .question = "Which?"}), std::nullopt);
  EXPECT_EQ(ui.dialogCancel, -1);
}

}  // namespace
}  // namespace vrk
