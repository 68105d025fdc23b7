#include <gtest/gtest.h>

#include "fakes/FakeUi.h"
#include "platform/LongOperation.h"

namespace vrk {
namespace {

using test::FakeUi;

// What the main window shows while an operation of each kind runs; all of it is gone when it ends.
TEST(LongOperation, ShowsItsPartsUntilItsScopeEnds) {
  struct Case {
    LongOperationParts parts;
    int busyDepth;
    bool enabled;
    bool gaugeShown;
  };
  const Case cases[] = {
      {{.busy = true}, 1, true, false},
      {{.windowDisabled = true}, 0, false, false},
      {{.gauge = Gauge{1000, "Working"}}, 0, true, true},
      {{.busy = true, .windowDisabled = true, .gauge = Gauge{1000, "Working", false}}, 1, false, true},
  };
  for (const Case& c : cases) {
    FakeUi ui;
    {
      const LongOperation operation(ui, c.parts);
      EXPECT_EQ(ui.busyDepth, c.busyDepth);
      EXPECT_EQ(ui.mainWindowEnabled, c.enabled);
      EXPECT_EQ(ui.gaugeShown, c.gaugeShown);
    }
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_TRUE(ui.mainWindowEnabled);
    EXPECT_FALSE(ui.gaugeShown);
  }
}

TEST(LongOperation, EndsOnceWhenEndedEarly) {
  FakeUi ui;
  {
    LongOperation operation(ui, {.busy = true, .windowDisabled = true, .gauge = Gauge{1000, "Working"}});
    operation.End();
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_TRUE(ui.mainWindowEnabled);
    EXPECT_FALSE(ui.gaugeShown);
    ui.ShowBusy();  // an operation that follows within the scope
    ui.SetMainWindowEnabled(false);
  }
  EXPECT_EQ(ui.busyDepth, 1);
  EXPECT_FALSE(ui.mainWindowEnabled);
}

TEST(LongOperation, PointerReleasedForAnAnswerIsClearedAtTheEnd) {
  FakeUi ui;
  {
    LongOperation operation(ui, {.windowDisabled = true});
    operation.ReleasePointer();
    EXPECT_EQ(ui.busyDepth, 0);
    operation.HoldPointer();
    EXPECT_EQ(ui.busyDepth, 1);
  }
  EXPECT_EQ(ui.busyDepth, 0);
}

}  // namespace
}  // namespace vrk
