#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>
#include <set>

#include "ui/CGridCtrl.h"
#include "ui/CMyScrollBar.h"
#include "ui/DisplayScale.h"
#include "ui/KeyCodes.h"

namespace {

using ui::CGridCtrl;

// Paints each cell in a colour made from its index and records what the grid asks.
class TestGrid : public CGridCtrl {
 public:
  TestGrid() : CGridCtrl(nullptr) {}

  void DrawItem(QPainter& painter, const QRect& cell, int index, bool selected) override {
    drawn.insert(index);
    painter.fillRect(cell, QColor(index, selected ? 255 : 0, 100));
    if (selected) DrawSelectionFrame(painter, cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1);
  }
  bool ItemClicked(int index) override {
    clicked.push_back(index);
    return false;
  }
  void ItemActivated(int index) override { activated.push_back(index); }

  std::set<int> drawn;
  std::vector<int> clicked;
  std::vector<int> activated;
};

class GridTest : public testing::Test {
 protected:
  void SetUp() override {
    ui::DisplayScale::Set(1.0, 1.0);
    grid.resize(240, 274);
  }

  // 3 columns by 2 visible rows of 70 x 100 cells.
  void ThreeByTwo(int count) {
    grid.SetItemCount(count);
    grid.LayoutByCellSize(QRect(), 70, 100, 0, 0, 0, 0);
    ASSERT_EQ(grid.Columns(), 3);
    ASSERT_EQ(grid.VisibleRows(), 2);
  }

  QPoint CentreOf(int row, int column) const { return grid.CellRect(row, column).center(); }

  TestGrid grid;
};

TEST_F(GridTest, ShapeLayoutGivesPortraitRowsAndLeavesRoomForTheScrollBar) {
  grid.SetItemCount(2);
  grid.LayoutByShape(QRect(), 3, 1, 3, 3, 3, 3);
  EXPECT_EQ(grid.CellHeight(), (274 - 6 - 6) / 3);
  EXPECT_EQ(grid.CellWidth(), 240 - 6);  // everything fits: no scroll bar
  EXPECT_FALSE(grid.ScrollBarShown());

  grid.SetItemCount(5);  // more rows than fit: the scroll bar takes its width
  EXPECT_EQ(grid.CellWidth(), 240 - 6 - grid.ScrollBarWidth());
  EXPECT_TRUE(grid.ScrollBarShown());
  EXPECT_EQ(grid.LargestTopRow(), 2);
  EXPECT_EQ(grid.CellRect(1, 0), QRect(3, 3 + 87 + 3, grid.CellWidth(), 87));
}

TEST_F(GridTest, CellSizeLayoutCountsColumnsAndRows) {
  grid.SetItemCount(40);
  grid.LayoutByCellSize(QRect(), 45, 45, 3, 5, 3, 4);
  EXPECT_EQ(grid.Columns(), (240 - 6) / 48);
  EXPECT_EQ(grid.VisibleRows(), (274 - 10) / 49);
  EXPECT_EQ(grid.CellRect(1, 2), QRect(3 + 2 * 48, 5 + 49, 45, 45));
  // A rectangle too small for one cell still has one row and one column.
  grid.LayoutByCellSize(QRect(0, 0, 20, 20), 45, 45, 3, 5, 3, 4);
  EXPECT_EQ(grid.Columns(), 1);
  EXPECT_EQ(grid.VisibleRows(), 1);
}

TEST_F(GridTest, StretchWidthSpansToTheEdgeLessTheScrollBar) {
  grid.SetItemCount(10);
  grid.LayoutByCellSize(QRect(), CGridCtrl::kStretch, 50, 4, 0, 0, 0);
  EXPECT_EQ(grid.Columns(), 1);
  const QRect cell = grid.CellRect(0, 0);
  EXPECT_EQ(cell.left(), 4);
  EXPECT_EQ(cell.left() + cell.width(), 240 - grid.ScrollBarWidth());
}

TEST_F(GridTest, LargestTopRowAndScrollBarRange) {
  ThreeByTwo(10);
  EXPECT_EQ(grid.LargestTopRow(), 2);
  EXPECT_EQ(grid.ScrollBar()->minimum(), 0);
  EXPECT_EQ(grid.ScrollBar()->maximum(), 2);
  EXPECT_TRUE(grid.ScrollBarShown());
  grid.ScrollBar()->setValue(2);
  EXPECT_EQ(grid.TopRow(), 2);
  grid.PageUp();
  EXPECT_EQ(grid.TopRow(), 0);
  grid.ScrollToBottom();
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(grid.ScrollBar()->value(), 2);

  ThreeByTwo(6);
  EXPECT_EQ(grid.LargestTopRow(), 0);
  EXPECT_EQ(grid.TopRow(), 0);  // clamped when the count shrank
  EXPECT_FALSE(grid.ScrollBarShown());
}

TEST_F(GridTest, KeysIgnoreTargetsOutsideTheItems) {
  ThreeByTwo(6);
  grid.Select(4, false);
  EXPECT_TRUE(grid.OnKeyDown(ui::kKeyDown));  // 7 does not exist
  EXPECT_EQ(grid.Selected(), 4);
  grid.OnKeyDown(ui::kKeyRight);
  grid.OnKeyDown(ui::kKeyRight);  // 6 does not exist
  EXPECT_EQ(grid.Selected(), 5);
  grid.Select(0, false);
  grid.OnKeyDown(ui::kKeyLeft);
  grid.OnKeyDown(ui::kKeyUp);
  EXPECT_EQ(grid.Selected(), 0);
  EXPECT_TRUE(grid.OnKeyDown(ui::kKeyPageDown));  // used, but moves nothing
  EXPECT_EQ(grid.Selected(), 0);
  EXPECT_FALSE(grid.OnKeyDown(0x41));
}

TEST_F(GridTest, MovingPastTheVisibleRowsScrollsByOneRow) {
  ThreeByTwo(10);
  grid.Select(5, false);  // last visible cell of the last visible row
  grid.OnKeyDown(ui::kKeyRight);
  EXPECT_EQ(grid.Selected(), 6);
  EXPECT_EQ(grid.TopRow(), 1);  // 6 is now on the last visible row
  grid.OnKeyDown(ui::kKeyDown);
  EXPECT_EQ(grid.Selected(), 9);
  EXPECT_EQ(grid.TopRow(), 2);
  grid.OnKeyDown(ui::kKeyUp);  // 6 is visible: no scrolling
  EXPECT_EQ(grid.TopRow(), 2);
  grid.OnKeyDown(ui::kKeyUp);  // 3 becomes the top row
  EXPECT_EQ(grid.Selected(), 3);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.OnKeyDown(ui::kKeyLeft);
  EXPECT_EQ(grid.Selected(), 2);
  EXPECT_EQ(grid.TopRow(), 0);
  grid.OnKeyDown(ui::kKeyReturn);
  EXPECT_EQ(grid.activated, std::vector<int>{2});
}

TEST_F(GridTest, WithoutSelectionEnterPicksTheFirstVisibleAndArrowsPage) {
  ThreeByTwo(20);
  grid.OnKeyDown(ui::kKeyDown);
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(grid.Selected(), -1);
  grid.OnKeyDown(ui::kKeyReturn);
  EXPECT_EQ(grid.Selected(), 6);
  EXPECT_TRUE(grid.activated.empty());
  grid.ClearSelection(false);
  grid.OnKeyDown(ui::kKeyPageDown);
  grid.OnKeyDown(ui::kKeyPageDown);
  EXPECT_EQ(grid.TopRow(), grid.LargestTopRow());
  grid.OnKeyDown(ui::kKeyUp);
  EXPECT_EQ(grid.TopRow(), grid.LargestTopRow() - 2);
}

TEST_F(GridTest, SelectScrollsIntoViewClampedToTheLargestTopRow) {
  ThreeByTwo(20);  // rows 0..6, largest top row 5
  grid.Select(19, true);
  EXPECT_EQ(grid.TopRow(), 5);
  grid.Select(0, true, true);
  EXPECT_EQ(grid.TopRow(), 0);
  grid.Select(10, true, true);
  EXPECT_EQ(grid.TopRow(), 2);  // row 3 on the last visible line
  grid.Select(25, true);
  EXPECT_EQ(grid.Selected(), 10);
  grid.SetItemCount(8);  // the selected item went away
  EXPECT_EQ(grid.Selected(), -1);
}

TEST_F(GridTest, PenSelectsOnDownActivatesOnUpAndClearsOutside) {
  ThreeByTwo(5);
  grid.OnPenDown(CentreOf(0, 1));
  EXPECT_EQ(grid.Selected(), 1);
  EXPECT_EQ(grid.clicked, std::vector<int>{1});
  grid.OnPenUp(CentreOf(0, 1));
  EXPECT_EQ(grid.activated, std::vector<int>{1});
  grid.OnPenDown(CentreOf(1, 2));  // position of index 5: no item
  EXPECT_EQ(grid.Selected(), -1);
  grid.OnPenUp(CentreOf(1, 2));
  EXPECT_EQ(grid.activated.size(), 1u);
  grid.OnDoubleTap(CentreOf(1, 0));
  EXPECT_EQ(grid.clicked.back(), 3);

  grid.SetMultiSelect(true);
  grid.OnPenDown(CentreOf(0, 0));
  grid.OnPenDown(CentreOf(0, 2));
  grid.OnPenDown(CentreOf(0, 0));
  EXPECT_EQ(grid.Selection(), std::vector<int>{2});
}

TEST_F(GridTest, PaintsOnlyVisibleItemsWithTheSelectionFrame) {
  ui::DisplayScale::Set(2.0, 2.0);
  ThreeByTwo(10);
  grid.SetHighlightColour(QColor(0, 0, 255));
  grid.Select(7, true, true);  // row 2 on the last visible line: top row 1
  const QImage shot = grid.grab().toImage();
  EXPECT_EQ(grid.drawn, (std::set<int>{3, 4, 5, 6, 7, 8}));
  const QRect cell = grid.CellRect(1, 1);  // item 7
  EXPECT_EQ(shot.pixelColor(cell.left() + 1, cell.center().y()), QColor(0, 0, 255));
  EXPECT_EQ(shot.pixelColor(cell.left() + 5, cell.center().y()), QColor(0, 0, 255));  // 3s = 6 wide
  EXPECT_EQ(shot.pixelColor(cell.left() + 6, cell.center().y()), QColor(7, 255, 100));
  EXPECT_EQ(shot.pixelColor(cell.center().x(), cell.top()), QColor(0, 0, 255));
  EXPECT_EQ(shot.pixelColor(cell.center().x(), cell.top() + 1), QColor(7, 255, 100));
  EXPECT_EQ(shot.pixelColor(grid.CellRect(0, 0).center()), QColor(3, 0, 100));
  ui::DisplayScale::Set(1.0, 1.0);
}

}  // namespace
