#pragma once

#include "layout/TSideBarModel.h"
#include "config/TColor.h"

#include <functional>
#include <string>
#include <vector>

// The editable grid without painting: columns with their cell texts, the
// row count, the current cell, what was typed into it, the keys, and the
// geometry of cells and of the in-place editor. The widget paints, scrolls
// and hosts the editor; the model tells it what to show through TGridView.

enum class THorzAlign { haLeft, haCenter, haRight };
enum class TVertAlign { vaTop, vaCenter, vaBottom };
enum class TGutterKind { gkNone, gkBlank };

struct TNiceColumn {
  std::string Title;
  int Width = 64;
  bool Visible = true;
  bool ReadOnly = false;
  bool CanResize = true;
  TFontSpec Font{"MS Sans Serif", -11, false, clWindowText};
  TColor Color = clWindow;
  THorzAlign HorzAlign = THorzAlign::haLeft;
  TVertAlign VertAlign = TVertAlign::vaCenter;
  // Cell texts by row; may be shorter than the grid (missing entries read
  // as empty) or longer (entries past the last row are kept).
  std::vector<std::string> Strings;
};

using TGridKey = TNavigationKey;

class TGridView {
 public:
  virtual ~TGridView() = default;
  virtual void RedrawAll() = 0;
  virtual void HideEditor() = 0;
  virtual void ScrollIntoView(int col, int row) = 0;
};

class TGridModel {
 public:
  void SetView(TGridView* view) { m_view = view; }

  std::vector<TNiceColumn>& Columns() { return m_columns; }
  const std::vector<TNiceColumn>& Columns() const { return m_columns; }
  int ColCount() const { return static_cast<int>(m_columns.size()); }
  void SetColCount(int count);
  int RowCount() const { return m_rowCount; }
  void SetRowCount(int count);

  // Throws TViewerError "Cell Index out of bound." outside the grid.
  std::string Cells(int col, int row) const;
  // A write from code: no events, nothing refused.
  void SetCells(int col, int row, const std::string& text);
  // A write by the user: refused in a read-only column, offered to
  // OnCellChanging (which may refuse) and OnCellChange (which may alter).
  bool UserWrite(int col, int row, std::string text);
  void ClearCells();

  int CurrentCol() const { return m_col; }
  int CurrentRow() const { return m_row; }
  void SetCurrentCell(int col, int row);
  const std::string& TypedText() const { return m_typedText; }

  bool AutoAddRow = false;
  bool ReadOnly = false;
  bool FitToWidth = false;
  int DefRowHeight = 18;
  int HeaderLine = 1;
  int GutterWidth = 20;
  TGutterKind GutterKind = TGutterKind::gkBlank;
  TColor SelectionColor = RgbColor(0xFF, 0xFF, 0xCA);

  // True when the key was used.
  bool KeyDown(TGridKey key, bool shift, bool control);
  // A typed character (code 32 or above) replaces the current cell by
  // everything typed since it became current.
  void TypeChar(char c);
  // Whether the cell (or the whole grid) takes no user writes.
  bool CellReadOnly(int col) const;

  // Geometry, in content pixels (before scrolling).
  int GutterPixels() const { return GutterKind == TGutterKind::gkNone ? 0 : GutterWidth; }
  int HeaderPixels() const { return HeaderLine * DefRowHeight; }
  int ColumnLeft(int col) const;
  TRect CellRect(int col, int row) const;
  int ContentWidth() const;
  int ContentHeight() const { return HeaderPixels() + m_rowCount * DefRowHeight; }
  // The cell at content pixels, or false.
  bool CellAt(int x, int y, int& col, int& row) const;
  // The editor's rectangle for a cell whose text is `textHeight` high.
  TRect EditorRect(int col, int row, int textHeight) const;
  // Widens or narrows the resizable columns until they fill the width.
  void FitColumns(int clientWidth);

  std::function<bool(int col, int row, const std::string& text)> OnCellChanging;
  std::function<void(int col, int row, std::string& text)> OnCellChange;
  std::function<void(int col, int row, std::string& text)> OnCellAssignment;
  std::function<bool(char c)> OnFilterChar;
  std::function<void(int row)> OnDeleteRow;

 private:
  void CheckCell(int col, int row) const;
  void MoveTo(int col, int row);
  int NextVisible(int col, int step) const;
  int FirstVisible() const;
  int LastVisible() const;
  void RemoveRow(int row);
  // Up on an empty last row that AutoAddRow added takes it away again.
  bool DropEmptyLastRow();
  void Redraw();

  TGridView* m_view = nullptr;
  std::vector<TNiceColumn> m_columns;
  int m_rowCount = 5;
  int m_col = -1;
  int m_row = -1;
  std::string m_typedText;
};
