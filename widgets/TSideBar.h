#pragma once

#include "layout/TSideBarModel.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

class QPainter;

// The side bar of collapsible sections. TSideBarModel holds its sections,
// rows, scroll position, selection and input rules; this widget measures,
// paints every pixel itself and routes Qt's input to the model. A redraw
// the model asks for repaints only the rectangle of that row or button.
class TSideBar : public QWidget, public TSideBarView {
 public:
  explicit TSideBar(QWidget* parent = nullptr);

  TSideBarModel& Model() { return m_model; }
  const TSideBarModel& Model() const { return m_model; }
  TSideBarItems& Items() { return m_model.Items(); }
  int ItemIndex() const { return m_model.ItemIndex(); }
  int SubItemIndex() const { return m_model.SubItemIndex(); }
  void SetItemIndex(int value) { m_model.SetItemIndex(value); }
  void SetSubItemIndex(int value) { m_model.SetSubItemIndex(value); }
  void BeginUpdate() { m_model.BeginUpdate(); }
  void EndUpdate() { m_model.EndUpdate(); }

  TColor Color() const { return m_model.Color; }
  void SetColor(TColor color);

  std::function<void(TSideBar& sender, int index, int subIndex, const std::string& caption)> OnSelect;
  std::function<void(TSideBar& sender, int index, int subIndex, const std::string& caption)> OnHover;
  std::function<void(TSideBar& sender, QPainter& canvas, QRect& rc, const std::string& str, TSideBarStates states)>
      OnCustomDrawItem;
  std::function<void(TSideBar& sender, QPainter& canvas, QRect& rc, const std::string& str, TSideBarStates states)>
      OnCustomDrawSubItem;
  std::function<void(TSideBar& sender, QPainter& canvas, QRect& rc)> OnCustomDrawNonItem;
  std::function<void(TSideBar& sender, QPainter& canvas, QRect& rc, bool up, bool hover)> OnCustomDrawScroller;

  // TSideBarView
  void RedrawRow(int rowOrCode) override;
  void RedrawAll() override;

  // The rectangle a row or scroll button paints, in control pixels.
  QRect RowPaintRect(int rowOrCode) const;

 protected:
  virtual void DrawItem(QPainter& canvas, const QRect& rc, const std::string& str, TSideBarStates states);
  virtual void DrawSubItem(QPainter& canvas, const QRect& rc, const std::string& str, TSideBarStates states);
  virtual void DrawNonItem(QPainter& canvas, const QRect& rc);
  virtual void DrawScroller(QPainter& canvas, const QRect& rc, bool up, bool hover);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void DrawFocusMark(QPainter& canvas, const QRect& rc, const TSideBarItemStyle& style);
  void DrawRow(QPainter& canvas, int rowOrCode);
  void UpdateCursor();

  TSideBarModel m_model;
  QElapsedTimer m_typeClock;
};

// The main window's side bar before a colour scheme is applied: grey, with
// Arial 8 point in white (bold section headers), yellow under the pointer,
// black when selected, and collapsible sections.
void SetMainWindowLook(TSideBar& bar);
