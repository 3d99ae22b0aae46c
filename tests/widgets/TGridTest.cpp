#include "widgets/TGrid.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GridWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    m_grid.resize(417, 401);
    m_grid.SetColCount(2);
    m_grid.Columns()[0].Title = "Find";
    m_grid.Columns()[0].Width = 180;
    m_grid.Columns()[1].Title = "Replace with";
    m_grid.Columns()[1].Width = 213;
    m_grid.Model().AutoAddRow = true;
    m_grid.Model().FitToWidth = true;
    m_grid.SetRowCount(1);
    m_grid.show();
    QApplication::processEvents();
  }
  QPoint CellCentre(int col, int row) {
    TRect cell = m_grid.Model().CellRect(col, row);
    return QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
  }
  TGrid m_grid;
};

}  // namespace

TEST_F(GridWidget, FillsItsWidthWithTheColumns) {
  EXPECT_EQ(m_grid.Columns()[0].Width + m_grid.Columns()[1].Width,
            m_grid.viewport()->width() - m_grid.Model().GutterPixels());
}

TEST_F(GridWidget, TypingOverACellReplacesItAndDownAddsARow) {
  m_grid.SetCells(0, 0, "old");
  m_grid.Model().SetCurrentCell(0, 0);
  QTest::keyClicks(&m_grid, "Min");
  EXPECT_EQ(m_grid.Cells(0, 0), "Min");
  QTest::keyClick(&m_grid, Qt::Key_Backspace);
  EXPECT_EQ(m_grid.Cells(0, 0), "Mi");
  QTest::keyClick(&m_grid, Qt::Key_Down);
  EXPECT_EQ(m_grid.RowCount(), 2);
  EXPECT_EQ(m_grid.CurrentRow(), 1);
  QTest::keyClick(&m_grid, Qt::Key_Up);
  EXPECT_EQ(m_grid.RowCount(), 1);
}

TEST_F(GridWidget, ClickingTheCurrentCellOpensTheEditorInsideIt) {
  m_grid.SetCells(1, 0, "min.");
  QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 0));
  EXPECT_EQ(m_grid.CurrentCol(), 1);
  EXPECT_FALSE(m_grid.Editor().isVisible()) << "the first click only makes the cell current";
  QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 0));
  ASSERT_TRUE(m_grid.Editor().isVisible());
  TRect cell = m_grid.Model().CellRect(1, 0);
  EXPECT_EQ(m_grid.Editor().geometry().left(), cell.Left + 4);
  EXPECT_EQ(m_grid.Editor().geometry().width(), cell.Width() - 8);
  EXPECT_EQ(m_grid.Editor().text(), QStringLiteral("min."));
  m_grid.Editor().selectAll();
  QTest::keyClicks(&m_grid.Editor(), "mins");
  EXPECT_EQ(m_grid.Cells(1, 0), "mins") << "every change is written at once";
  QTest::keyClick(&m_grid.Editor(), Qt::Key_Escape);
  EXPECT_FALSE(m_grid.Editor().isVisible());
  EXPECT_EQ(m_grid.Cells(1, 0), "mins") << "Escape does not undo";
}

TEST_F(GridWidget, ReadOnlyColumnsOpenNoEditor) {
  m_grid.Columns()[0].ReadOnly = true;
  m_grid.Model().SetCurrentCell(0, 0);
  QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(0, 0));
  EXPECT_FALSE(m_grid.Editor().isVisible());
  QTest::keyClicks(&m_grid, "x");
  EXPECT_EQ(m_grid.Cells(0, 0), "");
}
