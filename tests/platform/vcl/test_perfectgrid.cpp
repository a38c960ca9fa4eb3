// The list grid: rows, cells, row values, colours, grouping, current row and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include "platform/vcl/application.h"
#include "platform/vcl/perfectgrid.h"

namespace {

struct GridTest : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    grid = std::make_unique<TPerfectGrid>();
    grid->SetCols(3);
    grid->SetColumnHeader(-1, "");
    grid->SetColumnHeader(0, "コード");
    grid->SetColumnHeader(1, "会社名");
    grid->SetColumnHeader(2, "期");
    for (int i = 1; i <= 4; ++i) {
      const int r = grid->InsertRow(99);
      grid->SetCellText(r, 0, "00" + std::to_string(i));
      grid->SetCellText(r, 1, "会社" + std::to_string(i));
      grid->SetCellNumber(r, 2, i * 10);
      grid->SetRowValue(r, 100 + i);
    }
  }
  std::unique_ptr<TPerfectGrid> grid;
};

}  // namespace

TEST_F(GridTest, RowsCellsAndRowValues) {
  EXPECT_EQ(grid->Rows(), 4);
  EXPECT_EQ(grid->columnCount(), 4);  // one fixed column and three data columns
  EXPECT_EQ(grid->ColumnHeader(1), "会社名");
  EXPECT_EQ(grid->CellText(2, 1), "会社2");
  EXPECT_DOUBLE_EQ(grid->CellNumber(3, 2), 30);
  EXPECT_EQ(grid->RowValue(4), 104);
  EXPECT_EQ(grid->InsertRow(2), 2);  // before row 2
  EXPECT_EQ(grid->CellText(2, 0), "");
  EXPECT_EQ(grid->CellText(3, 0), "002");
  EXPECT_EQ(grid->RowValue(3), 102);
  grid->DeleteRow(1);
  EXPECT_EQ(grid->CellText(1, 0), "");
  EXPECT_EQ(grid->RowValue(2), 102);
  EXPECT_EQ(grid->CellText(9, 0), "");  // outside: empty, no crash
  grid->SetCellText(9, 0, "x");
  grid->ClearRows();
  EXPECT_EQ(grid->Rows(), 0);
  EXPECT_EQ(grid->Row(), TPerfectGrid::kNoRow);
}

TEST_F(GridTest, CurrentRowFocusEventsAndKeys) {
  std::vector<std::pair<int, int>> got, lost;
  grid->OnCellGotFocus = [&](int r, int c) { got.emplace_back(r, c); };
  grid->OnCellLostFocus = [&](int r, int c) { lost.emplace_back(r, c); };
  EXPECT_EQ(grid->Row(), TPerfectGrid::kNoRow);
  grid->SetRow(2);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 0);
  grid->SetCol(1);
  EXPECT_EQ(grid->Col(), 1);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back(), std::make_pair(2, 1));
  EXPECT_EQ(lost.back(), std::make_pair(2, 0));

  grid->show();
  QApplication::setActiveWindow(grid.get());
  grid->setFocus();
  std::vector<Word> keys;
  grid->OnKeyDown = [&](Word& key, Qt::KeyboardModifiers) {
    keys.push_back(key);
    if (key == VK_NEXT) key = 0;  // the window swallows Page Down
  };
  std::u16string typed;
  grid->OnKeyPress = [&](char16_t& ch) { typed += ch; };
  QTest::keyClick(grid.get(), Qt::Key_Down);
  EXPECT_EQ(grid->Row(), 3);
  QTest::keyClick(grid.get(), Qt::Key_PageDown);
  EXPECT_EQ(grid->Row(), 3);
  QTest::keyClick(grid.get(), Qt::Key_A);
  EXPECT_EQ(keys, (std::vector<Word>{VK_DOWN, VK_NEXT, 'A'}));
  EXPECT_EQ(typed, u"a");

  std::vector<std::pair<int, int>> clicks;
  grid->OnCellClick = [&](int r, int c) { clicks.emplace_back(r, c); };
  QHeaderView* header = grid->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 20, header->height() / 2));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], std::make_pair(0, 1));  // header row, column 1
}

TEST_F(GridTest, ColoursAndRowTextColour) {
  grid->SetBackColor(0xF0FFFF);
  grid->SetOddRowBackColor(0xE0E0E0);
  grid->SetFixedBackColor(0xC0C0C0);
  EXPECT_EQ(grid->palette().color(QPalette::Base), ColorToQColor(0xF0FFFF));
  EXPECT_EQ(grid->palette().color(QPalette::AlternateBase), ColorToQColor(0xE0E0E0));
  EXPECT_TRUE(grid->alternatingRowColors());
  EXPECT_EQ(grid->item(0, 0)->background().color(), ColorToQColor(0xC0C0C0));  // fixed column
  grid->SetRowTextColor(2, clRed);
  EXPECT_EQ(grid->RowTextColor(2), clRed);
  EXPECT_EQ(grid->item(1, 2)->foreground().color(), QColor(255, 0, 0));
  grid->SetDefHeight(24);
  EXPECT_EQ(grid->rowHeight(0), 24);
  grid->SetColumnWidth(1, 150);
  EXPECT_EQ(grid->ColumnWidth(1), 150);
}

TEST_F(GridTest, ChildRowsFoldUnderTheirParent) {
  grid->SetRowParent(2, 1);
  grid->SetRowParent(3, 1);
  grid->SetGroupExpanded(1, false);
  EXPECT_TRUE(grid->isRowHidden(1));
  EXPECT_TRUE(grid->isRowHidden(2));
  EXPECT_FALSE(grid->isRowHidden(3));
  grid->InsertRow(1);  // parents move with their rows
  EXPECT_EQ(grid->RowParent(3), 2);
  grid->SetGroupExpanded(2, true);
  EXPECT_FALSE(grid->isRowHidden(2));
}
