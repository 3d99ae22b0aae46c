#include "config/TViewerError.h"
#include "layout/TGridModel.h"

#include <gtest/gtest.h>

namespace {

class GridModel : public ::testing::Test {
 protected:
  void SetUp() override {
    m_grid.SetColCount(2);
    m_grid.Columns()[0].Title = "Find";
    m_grid.Columns()[0].Width = 180;
    m_grid.Columns()[1].Title = "Replace with";
    m_grid.Columns()[1].Width = 213;
    m_grid.AutoAddRow = true;
    m_grid.SetRowCount(1);
    m_grid.SetCurrentCell(0, 0);
    m_grid.OnDeleteRow = [this](int row) { Deleted.push_back(row); };
  }
  TGridModel m_grid;
  std::vector<int> Deleted;
};

}  // namespace

TEST_F(GridModel, ReadsMissingEntriesAsEmptyAndRefusesCellsOutside) {
  EXPECT_EQ(m_grid.Cells(1, 0), "");
  m_grid.SetRowCount(4);
  m_grid.SetCells(1, 3, "x");
  EXPECT_EQ(m_grid.Columns()[1].Strings.size(), 4u);
  EXPECT_EQ(m_grid.Cells(1, 2), "");
  try {
    m_grid.Cells(2, 0);
    FAIL();
  } catch (const TViewerError& error) {
    EXPECT_STREQ(error.what(), "Cell Index out of bound.");
  }
  EXPECT_THROW(m_grid.Cells(0, 4), TViewerError);
  EXPECT_THROW(m_grid.SetCells(0, -1, "x"), TViewerError);
  m_grid.SetRowCount(2);
  EXPECT_EQ(m_grid.Columns()[1].Strings[3], "x") << "texts past the last row stay stored";
  m_grid.ClearCells();
  EXPECT_TRUE(m_grid.Columns()[1].Strings.empty());
}

TEST_F(GridModel, DownOnTheLastRowAddsARowAndUpTakesAnEmptyOneAway) {
  m_grid.KeyDown(TGridKey::Down, false, false);
  EXPECT_EQ(m_grid.RowCount(), 2);
  EXPECT_EQ(m_grid.CurrentRow(), 1);
  m_grid.KeyDown(TGridKey::Up, false, false);
  EXPECT_EQ(m_grid.RowCount(), 1);
  EXPECT_EQ(m_grid.CurrentRow(), 0);
  EXPECT_EQ(Deleted, (std::vector<int>{1}));

  m_grid.KeyDown(TGridKey::Down, false, false);
  m_grid.TypeChar('a');
  m_grid.KeyDown(TGridKey::Up, false, false);
  EXPECT_EQ(m_grid.RowCount(), 2) << "a row with text stays";
  EXPECT_EQ(m_grid.CurrentRow(), 0);
  m_grid.KeyDown(TGridKey::Up, false, false);
  EXPECT_EQ(m_grid.RowCount(), 2) << "the first row is never taken away";
}

TEST_F(GridModel, TypingReplacesTheCellAndBackspaceEditsOnlyWhatWasTyped) {
  m_grid.SetCells(0, 0, "old text");
  m_grid.TypeChar('N');
  m_grid.TypeChar('e');
  EXPECT_EQ(m_grid.Cells(0, 0), "Ne");
  m_grid.KeyDown(TGridKey::Backspace, false, false);
  EXPECT_EQ(m_grid.Cells(0, 0), "N");
  m_grid.KeyDown(TGridKey::Right, false, false);
  EXPECT_EQ(m_grid.TypedText(), "") << "moving clears what was typed";
  m_grid.TypeChar('\x07');
  EXPECT_EQ(m_grid.Cells(1, 0), "") << "control characters are not typed";
  m_grid.Columns()[1].ReadOnly = true;
  m_grid.TypeChar('x');
  EXPECT_EQ(m_grid.Cells(1, 0), "");
}

TEST_F(GridModel, UserWritesPassTheChangeEvents) {
  m_grid.OnCellChanging = [](int, int, const std::string& text) { return text != "no"; };
  m_grid.OnCellChange = [](int, int, std::string& text) { text += "!"; };
  EXPECT_FALSE(m_grid.UserWrite(0, 0, "no"));
  EXPECT_TRUE(m_grid.UserWrite(0, 0, "yes"));
  EXPECT_EQ(m_grid.Cells(0, 0), "yes!");
  m_grid.SetCells(0, 0, "code");
  EXPECT_EQ(m_grid.Cells(0, 0), "code") << "writes from code skip the events";
}

TEST_F(GridModel, InsertsAndDeletesRows) {
  m_grid.SetRowCount(3);
  for (int r = 0; r < 3; ++r) m_grid.SetCells(0, r, "r" + std::to_string(r));
  m_grid.SetCurrentCell(0, 1);
  m_grid.KeyDown(TGridKey::Insert, false, false);
  EXPECT_EQ(m_grid.RowCount(), 4);
  EXPECT_EQ(m_grid.Cells(0, 1), "");
  EXPECT_EQ(m_grid.Cells(0, 2), "r1");
  m_grid.KeyDown(TGridKey::Delete, false, true);
  EXPECT_EQ(m_grid.RowCount(), 3);
  EXPECT_EQ(m_grid.Cells(0, 1), "r1");
  EXPECT_EQ(Deleted, (std::vector<int>{1}));
  m_grid.KeyDown(TGridKey::Delete, false, false);
  EXPECT_EQ(m_grid.Cells(0, 1), "") << "Delete empties the cell";
  m_grid.KeyDown(TGridKey::PageDown, false, false);
  EXPECT_EQ(m_grid.CurrentRow(), 2);
  m_grid.KeyDown(TGridKey::Home, false, true);
  EXPECT_EQ(m_grid.CurrentRow(), 0);
  m_grid.KeyDown(TGridKey::End, false, true);
  EXPECT_EQ(m_grid.CurrentCol(), 1);
  EXPECT_EQ(m_grid.CurrentRow(), 2);
}

TEST_F(GridModel, FitsColumnsToTheWidthAndPlacesTheEditorInsideTheCell) {
  m_grid.FitToWidth = true;
  m_grid.FitColumns(417 - 2);
  EXPECT_EQ(m_grid.Columns()[0].Width + m_grid.Columns()[1].Width, 415 - 20);
  m_grid.FitColumns(300);
  EXPECT_EQ(m_grid.Columns()[0].Width + m_grid.Columns()[1].Width, 280);

  TRect cell = m_grid.CellRect(1, 0);
  EXPECT_EQ(cell.Top, 18);
  TRect editor = m_grid.EditorRect(1, 0, 10);
  EXPECT_EQ(editor.Left, cell.Left + 4);
  EXPECT_EQ(editor.Right, cell.Right - 4);
  EXPECT_EQ(editor.Top, 18 + 3 + (12 - 10) / 2);
  m_grid.Columns()[1].VertAlign = TVertAlign::vaTop;
  EXPECT_EQ(m_grid.EditorRect(1, 0, 10).Top, 18 + 3 - 1);
  m_grid.Columns()[1].VertAlign = TVertAlign::vaBottom;
  EXPECT_EQ(m_grid.EditorRect(1, 0, 10).Bottom, 18 + 18 - 3 + 1);
}

TEST(GridModelEmpty, IgnoresKeysAndWritesWithoutColumns) {
  TGridModel grid;
  EXPECT_EQ(grid.CurrentCol(), -1);
  grid.SetCells(0, 0, "x");
  grid.TypeChar('x');
  EXPECT_FALSE(grid.KeyDown(TGridKey::Down, false, false));
  EXPECT_EQ(grid.RowCount(), 5);
}
