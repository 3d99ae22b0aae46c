#pragma once

#include "layout/TGridModel.h"

#include <QAbstractScrollArea>
#include <QLineEdit>

class TGrid;

// The grid's in-place editor: a borderless one-line edit box over the
// current cell that writes every change into the cell at once.
class TNiceInplace : public QLineEdit {
 public:
  explicit TNiceInplace(TGrid* grid);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TGrid* m_grid;
};

// The editable grid. TGridModel holds the columns, cells, current cell and
// key rules; this widget paints, scrolls, routes input and hosts the editor.
class TGrid : public QAbstractScrollArea, public TGridView {
 public:
  explicit TGrid(QWidget* parent = nullptr);

  TGridModel& Model() { return m_model; }
  std::vector<TNiceColumn>& Columns() { return m_model.Columns(); }
  int ColCount() const { return m_model.ColCount(); }
  void SetColCount(int count) { m_model.SetColCount(count); }
  int RowCount() const { return m_model.RowCount(); }
  void SetRowCount(int count) { m_model.SetRowCount(count); }
  std::string Cells(int col, int row) const { return m_model.Cells(col, row); }
  void SetCells(int col, int row, const std::string& text) { m_model.SetCells(col, row, text); }
  void ClearCells() { m_model.ClearCells(); }
  int CurrentCol() const { return m_model.CurrentCol(); }
  int CurrentRow() const { return m_model.CurrentRow(); }
  TNiceInplace& Editor() { return *m_editor; }
  // Opens the in-place editor on the current cell (unless read-only).
  void ShowEditor();

  // TGridView
  void RedrawAll() override;
  void HideEditor() override;
  void ScrollIntoView(int col, int row) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  friend class TNiceInplace;
  void UpdateScrollBars();
  QPoint Offset() const;

  TGridModel m_model;
  TNiceInplace* m_editor;
};
