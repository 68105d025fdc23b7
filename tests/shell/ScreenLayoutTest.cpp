#include "shell/ScreenLayout.h"

#include <gtest/gtest.h>

#include "catalog/Catalog.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"

namespace vrk {
namespace {

using test::FakeUi;

class ScreenLayoutTest : public ::testing::Test {
 protected:
  void Use(const CatalogLayout& layout) {
    store.fieldTable = layout.fields;
    store.header.FieldLength = layout.lengths;
    store.formulaTable = layout.formulas;
  }

  FakeUi ui;
  CatalogStore store{ui};
};

TEST_F(ScreenLayoutTest, UnusedFieldsLeaveTheirRowsEmptyAndField21NeverHasARow) {
  CatalogLayout layout = test::MakeLayout({{"Artist", 20}, {"Title", 30}, {"Unused", 0}, {"Year", 4}});
  layout.lengths[kMediaField] = 60;
  Use(layout);
  const ScreenLayout screen = LayOutRows(store);
  EXPECT_TRUE(screen.rows[0].visible);
  EXPECT_TRUE(screen.rows[1].visible);
  EXPECT_FALSE(screen.rows[2].visible);
  EXPECT_TRUE(screen.rows[3].visible);
  EXPECT_EQ(screen.rows[3].length, 4);
  for (int row = 4; row < kScreenRows; ++row) EXPECT_FALSE(screen.rows[static_cast<std::size_t>(row)].visible);
  EXPECT_EQ(screen.rows.size(), 20u);
}

TEST_F(ScreenLayoutTest, MarkersFollowTheFieldTypesAndComputedFieldsAreLocked) {
  Use(test::MakeLayout({{"Plain", 5},
                        {"Key", 5, kKeyField},
                        {"Sum", 5, kSumField},
                        {"Both", 5, kKeySumField},
                        {"Calc", 5, kSumField, "C+D"}}));
  const ScreenLayout screen = LayOutRows(store);
  const auto markers = [&](int row) {
    const RowLayout& r = screen.rows[static_cast<std::size_t>(row)];
    return std::string(r.keyMarker ? "K" : "") + (r.sumMarker ? "S" : "") + (r.calcMarker ? "C" : "");
  };
  EXPECT_EQ(markers(0), "");
  EXPECT_EQ(markers(1), "K");
  EXPECT_EQ(markers(2), "S");
  EXPECT_EQ(markers(3), "KS");
  EXPECT_EQ(markers(4), "SC");
  EXPECT_TRUE(screen.rows[4].locked);
  EXPECT_FALSE(screen.rows[3].locked);
}

TEST_F(ScreenLayoutTest, OnlyTheFirstThreeUsedKeyFieldsGetSpeedSearchEntries) {
  Use(test::MakeLayout({{"A", 5, kKeyField},
                        {"Gone", 0, kKeyField},
                        {"B", 5, kKeySumField},
                        {"C", 5},
                        {"D", 5, kKeyField},
                        {"E", 5, kKeyField}}));
  EXPECT_EQ(LayOutRows(store).speedSearchFields, std::vector<int>({0, 2, 4}));
}

TEST(BoxWidth, IsTheFieldLengthInCharactersCutOneCharacterBeforeTheWindowEdge) {
  EXPECT_EQ(BoxWidth(10, 8, 0, 150, 800), 80);
  EXPECT_EQ(BoxWidth(90, 8, 0, 150, 800), 800 - 150 - 8);
  EXPECT_EQ(BoxWidth(80, 8, 0, 150, 100), 8);  // a window narrower than the labels still leaves a box
}

TEST(BoxWidth, CountsFractionalAdvancesAndTheRoomBeyondTheText) {
  // 40 characters of 7.22 pixels are 288.8 pixels: 289 whole ones, not 40 × 7.
  EXPECT_EQ(BoxWidth(40, 7.22, 0, 150, 2000), 289);
  EXPECT_EQ(BoxWidth(40, 7.22, 14, 150, 2000), 289 + 14);
  EXPECT_EQ(BoxWidth(40, 7.2, 0, 150, 2000), 288);  // exact products are not rounded up
  EXPECT_EQ(BoxWidth(80, 7.8125, 13, 150, 2000), 625 + 13);
  // The cut leaves one whole character width to the window's edge, margins and caret included.
  EXPECT_EQ(BoxWidth(80, 7.22, 14, 150, 600), 600 - 150 - 8);
  EXPECT_EQ(BoxWidth(80, 7.22, 14, 150, 100), 8 + 14);
}

TEST(EntryScreenHeight, RunsToTheLastVisibleRow) {
  ScreenLayout layout;
  EXPECT_EQ(EntryScreenHeight(layout, 10, 24, 19, 10), 20);  // no rows: the margins only
  layout.rows[0].visible = true;
  EXPECT_EQ(EntryScreenHeight(layout, 10, 24, 19, 10), 10 + 19 + 10);
  for (std::size_t row = 1; row < 6; ++row) layout.rows[row].visible = true;
  EXPECT_EQ(EntryScreenHeight(layout, 10, 24, 19, 10), 10 + 5 * 24 + 19 + 10);
  // Empty rows above the last visible one keep their places.
  layout.rows[3].visible = false;
  layout.rows[9].visible = true;
  EXPECT_EQ(EntryScreenHeight(layout, 10, 24, 19, 10), 10 + 9 * 24 + 19 + 10);
  layout.rows[kScreenRows - 1].visible = true;
  EXPECT_EQ(EntryScreenHeight(layout, 10, 24, 19, 10), 10 + (kScreenRows - 1) * 24 + 19 + 10);
}

TEST(NextVisibleBox, StepsForwardWrapsAndStaysWhenAlone) {
  std::array<bool, kFieldCount> visible{};
  visible[0] = visible[1] = visible[3] = true;
  EXPECT_EQ(NextVisibleBox(visible, 0), 1);
  EXPECT_EQ(NextVisibleBox(visible, 1), 3);
  EXPECT_EQ(NextVisibleBox(visible, 3), 0);
  std::array<bool, kFieldCount> alone{};
  alone[5] = true;
  EXPECT_EQ(NextVisibleBox(alone, 5), 5);
}

}  // namespace
}  // namespace vrk
