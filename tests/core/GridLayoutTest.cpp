// Grid numbering, the layout with its snapping, and fitting the command list.
#include <gtest/gtest.h>

#include <string>

#include "core/GridLayout.h"

namespace {

struct TNumberCase {
  int Rows;
  int Number;
  TGridCell Cell;
};

class ButtonNumbering : public testing::TestWithParam<TNumberCase> {};

TEST_P(ButtonNumbering, CountsColumnByColumn) {
  const TNumberCase& c = GetParam();
  EXPECT_EQ(CellOfButton(c.Number, c.Rows), c.Cell);
  EXPECT_EQ(ButtonNumber(c.Cell, c.Rows), c.Number);
}

INSTANTIATE_TEST_SUITE_P(Grids, ButtonNumbering,
                         testing::Values(TNumberCase{10, 1, {1, 1}}, TNumberCase{10, 10, {1, 10}},
                                         TNumberCase{10, 11, {2, 1}},
                                         TNumberCase{10, 100, {10, 10}}, TNumberCase{5, 7, {2, 2}},
                                         TNumberCase{1, 3, {3, 1}}, TNumberCase{2, 3, {2, 1}},
                                         TNumberCase{3, 3, {1, 3}}, TNumberCase{2, 4, {2, 2}},
                                         TNumberCase{3, 4, {2, 1}}));

TEST(ButtonNumbering, EveryGridSizeMapsEachPlaceToOneNumber) {
  for (int rows = kMinGridSide; rows <= kMaxGridSide; ++rows) {
    for (int cols = kMinGridSide; cols <= kMaxGridSide; ++cols) {
      for (int n = 1; n <= rows * cols; ++n) {
        const TGridCell cell = CellOfButton(n, rows);
        ASSERT_LE(cell.Column, cols);
        ASSERT_EQ(ButtonNumber(cell, rows), n);
      }
    }
  }
}

struct TLayoutCase {
  const char* Name;
  int ClientWidth, ClientHeight, Rows, Cols, MinWidth, MinHeight;
  int ButtonWidth, ButtonHeight, SnappedWidth, SnappedHeight;
};

const TLayoutCase kLayoutCases[] = {
    {"FiveByThreeIn400x300", 400, 300, 5, 3, 0, 0, 133, 60, 399, 300},
    {"AlreadyConsistent", 399, 300, 5, 3, 0, 0, 133, 60, 399, 300},
    {"OneButton", 250, 150, 1, 1, 0, 0, 250, 150, 250, 150},
    {"TenByTen", 805, 607, 10, 10, 0, 0, 80, 60, 800, 600},
    // 7 columns in 251 pixels would snap to 245, below a 250 minimum: keep 251.
    {"MinimumKeepsWidth", 251, 152, 3, 7, 250, 150, 35, 50, 251, 150},
    {"MinimumKeepsHeight", 300, 151, 4, 2, 250, 150, 150, 37, 300, 151},
};

TEST(GridLayout, SnapsClientAreaToButtons) {
  for (const TLayoutCase& c : kLayoutCases) {
    SCOPED_TRACE(c.Name);
    const TGridLayout layout =
        LayOutGrid(c.ClientWidth, c.ClientHeight, c.Rows, c.Cols, c.MinWidth, c.MinHeight);
    EXPECT_EQ(layout.ButtonWidth, c.ButtonWidth);
    EXPECT_EQ(layout.ButtonHeight, c.ButtonHeight);
    EXPECT_EQ(layout.ClientWidth, c.SnappedWidth);
    EXPECT_EQ(layout.ClientHeight, c.SnappedHeight);
  }
}

TEST(GridLayout, PlacesButtonsByNumber) {
  const TGridLayout layout = LayOutGrid(400, 300, 5, 3);
  EXPECT_EQ(layout.ButtonRect(1), (TGridRect{0, 0, 133, 60}));
  EXPECT_EQ(layout.ButtonRect(7), (TGridRect{133, 60, 133, 60}));
  EXPECT_EQ(layout.ButtonRect(15), (TGridRect{266, 240, 133, 60}));
}

TEST(FitCommandCount, GrowingAppendsNumberedDefaultRecords) {
  TCommandList commands;
  for (int i = 0; i < 6; ++i) commands.Add();
  commands.Get(5).Caption = "kept";
  FitCommandCount(commands, 9);
  ASSERT_EQ(commands.Count(), 9);
  EXPECT_EQ(commands.Get(5).Caption, "kept");
  for (int index = 6; index < 9; ++index) {
    const TCommand& record = commands.Get(index);
    EXPECT_EQ(record.Caption, std::to_string(index + 1));
    EXPECT_EQ(record.Data, "");
    EXPECT_EQ(record.Output, 1);
    EXPECT_EQ(record.ButtonColour, kColourButtonFace);
    EXPECT_EQ(record.TextColour, kColourWindowText);
    EXPECT_EQ(record.ImageIndex, -1);
  }
}

TEST(FitCommandCount, ShrinkingDropsRecordsFromTheEnd) {
  TCommandList commands;
  for (int i = 0; i < 100; ++i) commands.Get(commands.Add()).Caption = "old";
  FitCommandCount(commands, 6);
  ASSERT_EQ(commands.Count(), 6);
  FitCommandCount(commands, 7);
  EXPECT_EQ(commands.Get(5).Caption, "old");
  EXPECT_EQ(commands.Get(6).Caption, "7");
}

}  // namespace
