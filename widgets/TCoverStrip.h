#pragma once

#include "layout/TCoverStripModel.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

// The strip of cover pictures. TCoverStripModel holds the items, tiles, scroll
// state and input rules; this widget paints every pixel itself, runs the
// 100 ms timer, shows the tooltips and routes Qt's input to the model.
class TCoverStrip : public QWidget, public TCoverStripView {
 public:
  explicit TCoverStrip(QWidget* parent = nullptr);

  TCoverStripModel& Model() { return m_model; }
  TCoverStripItems& Items() { return m_model.Items(); }
  bool Active() const { return m_model.Active(); }
  void SetActive(bool active) { m_model.SetActive(active); }
  TColor Color() const { return m_model.Color; }
  void SetColor(TColor color);
  // How many pictures are held converted for painting (bounded).
  int ConvertedImageCount() const { return static_cast<int>(m_converted.size()); }
  // The tiles in view, [first, last).
  std::pair<int, int> VisibleItems() const;
  // The timer that drives the strip; tests call TimerTick() themselves.
  QTimer& Timer() { return m_timer; }

  std::function<void(TCoverStrip& sender, int index)> OnClick;
  std::function<void(TCoverStrip& sender, int index)> OnHover;

  // TCoverStripView
  void RedrawEntry(int indexOrCode) override;
  void RedrawAll() override;
  void SetTimerRunning(bool running) override;
  void ShowHintAt(const std::string& hint, int x, int y) override;
  void HideHint() override;
  void SetHandCursor(bool hand) override;
  void PictureChanged(int index) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void DrawEntry(QPainter& canvas, int indexOrCode);
  QRect EntryRect(int indexOrCode) const;
  const QImage& ImageOf(int index);

  TCoverStripModel m_model;
  QTimer m_timer;
  std::vector<QImage> m_images;  // the items' pictures, converted when shown
  std::deque<int> m_converted;   // which of them hold a picture, oldest first
};
