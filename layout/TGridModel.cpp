#include "layout/TGridModel.h"

#include "config/TViewerError.h"

#include <algorithm>

void TGridModel::Redraw() {
  if (m_view) m_view->RedrawAll();
}

void TGridModel::SetColCount(int count) {
  count = std::max(count, 0);
  if (count == ColCount()) return;
  m_columns.resize(static_cast<std::size_t>(count));
  SetCurrentCell(m_col, m_row);
}

void TGridModel::SetRowCount(int count) {
  count = std::max(count, 0);
  if (count == m_rowCount) return;
  m_rowCount = count;
  // Keep the current cell inside the grid; texts of rows past the new end
  // stay stored.
  if (m_rowCount == 0 || m_columns.empty()) {
    m_col = m_row = -1;
  } else {
    m_col = std::clamp(m_col, 0, ColCount() - 1);
    m_row = std::clamp(m_row, 0, m_rowCount - 1);
  }
  Redraw();
}

void TGridModel::CheckCell(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= m_rowCount) throw TViewerError("Cell Index out of bound.");
}

std::string TGridModel::Cells(int col, int row) const {
  CheckCell(col, row);
  const std::vector<std::string>& strings = m_columns[static_cast<std::size_t>(col)].Strings;
  return row < static_cast<int>(strings.size()) ? strings[static_cast<std::size_t>(row)] : std::string();
}

void TGridModel::SetCells(int col, int row, const std::string& text) {
  if (m_columns.empty() || m_rowCount == 0) return;
  CheckCell(col, row);
  std::vector<std::string>& strings = m_columns[static_cast<std::size_t>(col)].Strings;
  if (static_cast<int>(strings.size()) <= row) strings.resize(static_cast<std::size_t>(row) + 1);
  if (strings[static_cast<std::size_t>(row)] == text) return;
  strings[static_cast<std::size_t>(row)] = text;
  Redraw();
}

bool TGridModel::CellReadOnly(int col) const {
  return ReadOnly || col < 0 || col >= ColCount() || m_columns[static_cast<std::size_t>(col)].ReadOnly;
}

bool TGridModel::UserWrite(int col, int row, std::string text) {
  if (m_columns.empty() || m_rowCount == 0 || CellReadOnly(col)) return false;
  CheckCell(col, row);
  if (OnCellChanging && !OnCellChanging(col, row, text)) return false;
  if (OnCellChange) OnCellChange(col, row, text);
  SetCells(col, row, text);
  return true;
}

void TGridModel::ClearCells() {
  for (TNiceColumn& column : m_columns) column.Strings.clear();
  Redraw();
}

void TGridModel::SetCurrentCell(int col, int row) {
  if (m_columns.empty() || m_rowCount == 0) {
    m_col = m_row = -1;
    return;
  }
  MoveTo(std::clamp(col, 0, ColCount() - 1), std::clamp(row, 0, m_rowCount - 1));
}

void TGridModel::MoveTo(int col, int row) {
  m_col = col;
  m_row = row;
  m_typedText.clear();
  if (m_view) {
    m_view->HideEditor();
    m_view->ScrollIntoView(col, row);
  }
  Redraw();
}

int TGridModel::NextVisible(int col, int step) const {
  for (int c = col + step; c >= 0 && c < ColCount(); c += step) {
    if (m_columns[static_cast<std::size_t>(c)].Visible) return c;
  }
  return col;
}

int TGridModel::FirstVisible() const {
  int col = NextVisible(-1, 1);
  return col == -1 ? 0 : col;
}

int TGridModel::LastVisible() const {
  int col = NextVisible(ColCount(), -1);
  return col == ColCount() ? ColCount() - 1 : col;
}

void TGridModel::RemoveRow(int row) {
  for (TNiceColumn& column : m_columns) {
    if (row < static_cast<int>(column.Strings.size())) column.Strings.erase(column.Strings.begin() + row);
  }
  m_rowCount -= 1;
  if (OnDeleteRow) OnDeleteRow(row);
}

bool TGridModel::DropEmptyLastRow() {
  const int last = m_rowCount - 1;
  if (!AutoAddRow || ReadOnly || m_row != last || last < 1) return false;
  for (int c = 0; c < ColCount(); ++c) {
    if (!Cells(c, last).empty()) return false;
  }
  RemoveRow(last);
  MoveTo(m_col, m_rowCount - 1);
  return true;
}

bool TGridModel::KeyDown(TGridKey key, bool shift, bool control) {
  if (m_columns.empty() || m_rowCount == 0) return false;
  if (m_col < 0 || m_row < 0) SetCurrentCell(0, 0);
  const int last = m_rowCount - 1;
  switch (key) {
    case TGridKey::Left:
      MoveTo(NextVisible(m_col, -1), m_row);
      return true;
    case TGridKey::Right:
      MoveTo(NextVisible(m_col, 1), m_row);
      return true;
    case TGridKey::Up:
      if (!DropEmptyLastRow()) MoveTo(m_col, std::max(m_row - 1, 0));
      return true;
    case TGridKey::Down:
      if (m_row == last && AutoAddRow && !ReadOnly) {
        m_rowCount += 1;
        MoveTo(m_col, m_rowCount - 1);
        return true;
      }
      MoveTo(m_col, std::min(m_row + 1, last));
      return true;
    case TGridKey::PageUp:
      MoveTo(m_col, 0);
      return true;
    case TGridKey::PageDown:
      MoveTo(m_col, last);
      return true;
    case TGridKey::Home:
      MoveTo(FirstVisible(), control ? 0 : m_row);
      return true;
    case TGridKey::End:
      MoveTo(LastVisible(), control ? last : m_row);
      return true;
    case TGridKey::Enter: {
      std::string text = Cells(m_col, m_row);
      if (OnCellAssignment) {
        std::string offered = text;
        OnCellAssignment(m_col, m_row, offered);
        if (offered != text) UserWrite(m_col, m_row, offered);
      }
      MoveTo(m_col, shift ? std::max(m_row - 1, 0) : std::min(m_row + 1, last));
      return true;
    }
    case TGridKey::Insert:
      if (ReadOnly) return false;
      for (TNiceColumn& column : m_columns) {
        if (m_row <= static_cast<int>(column.Strings.size())) column.Strings.insert(column.Strings.begin() + m_row, std::string());
      }
      m_rowCount += 1;
      MoveTo(m_col, m_row);
      return true;
    case TGridKey::Delete:
      if (ReadOnly) return false;
      if (control) {
        if (m_rowCount < 2) return false;
        RemoveRow(m_row);
        MoveTo(m_col, std::min(m_row, m_rowCount - 1));
        return true;
      }
      if (!m_typedText.empty()) return false;
      UserWrite(m_col, m_row, "");
      return true;
    case TGridKey::Backspace:
      if (CellReadOnly(m_col)) return false;
      if (!m_typedText.empty()) m_typedText.pop_back();
      UserWrite(m_col, m_row, m_typedText);
      return true;
    case TGridKey::Space:
    case TGridKey::Other:
      break;
  }
  return false;
}

void TGridModel::TypeChar(char c) {
  if (m_columns.empty() || m_rowCount == 0 || static_cast<unsigned char>(c) < 32) return;
  if (m_col < 0 || m_row < 0) SetCurrentCell(0, 0);
  if (CellReadOnly(m_col)) return;
  if (OnFilterChar && !OnFilterChar(c)) return;
  m_typedText += c;
  UserWrite(m_col, m_row, m_typedText);
}

int TGridModel::ColumnLeft(int col) const {
  int x = GutterPixels();
  for (int c = 0; c < col && c < ColCount(); ++c) {
    if (m_columns[static_cast<std::size_t>(c)].Visible) x += m_columns[static_cast<std::size_t>(c)].Width;
  }
  return x;
}

TRect TGridModel::CellRect(int col, int row) const {
  int left = ColumnLeft(col);
  int top = HeaderPixels() + row * DefRowHeight;
  int width = m_columns[static_cast<std::size_t>(col)].Visible ? m_columns[static_cast<std::size_t>(col)].Width : 0;
  return {left, top, left + width, top + DefRowHeight};
}

int TGridModel::ContentWidth() const { return ColumnLeft(ColCount()); }

bool TGridModel::CellAt(int x, int y, int& col, int& row) const {
  if (y < HeaderPixels() || x < GutterPixels()) return false;
  row = (y - HeaderPixels()) / DefRowHeight;
  if (row >= m_rowCount) return false;
  for (int c = 0; c < ColCount(); ++c) {
    TRect rect = CellRect(c, row);
    if (x >= rect.Left && x < rect.Right) {
      col = c;
      return true;
    }
  }
  return false;
}

TRect TGridModel::EditorRect(int col, int row, int textHeight) const {
  TRect cell = CellRect(col, row);
  TRect inset{cell.Left + 4, cell.Top + 3, cell.Right - 4, cell.Bottom - 3};
  int top = inset.Top - 1;
  switch (m_columns[static_cast<std::size_t>(col)].VertAlign) {
    case TVertAlign::vaTop: break;
    case TVertAlign::vaCenter: top = inset.Top + (inset.Height() - textHeight) / 2; break;
    case TVertAlign::vaBottom: top = inset.Bottom + 1 - textHeight; break;
  }
  return {inset.Left, top, inset.Right, top + textHeight};
}

void TGridModel::FitColumns(int clientWidth) {
  if (!FitToWidth) return;
  int target = clientWidth - GutterPixels();
  std::vector<TNiceColumn*> resizable;
  int sum = 0;
  for (TNiceColumn& column : m_columns) {
    if (!column.Visible) continue;
    sum += column.Width;
    if (column.CanResize) resizable.push_back(&column);
  }
  if (resizable.empty()) return;
  // One pixel per column in turn, from the first on, until the widths fill
  // the target; a pass that changes nothing ends it.
  while (sum != target) {
    bool changed = false;
    for (TNiceColumn* column : resizable) {
      if (sum == target) break;
      if (sum < target) {
        ++column->Width;
        ++sum;
        changed = true;
      } else if (column->Width > 0) {
        --column->Width;
        --sum;
        changed = true;
      }
    }
    if (!changed) break;
  }
}
