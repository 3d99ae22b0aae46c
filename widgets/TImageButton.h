#pragma once

#include "widgets/TOwnerDrawnButton.h"

#include <QImage>

// A button made of pictures, one per state (normal, hover, down, up after a
// click), that takes the size of the picture it shows. It draws
// at once when its state changes; repaints show CurrentBitmap.
class TImageButton : public TOwnerDrawnButton {
 public:
  explicit TImageButton(QWidget* parent = nullptr);

  void SetBitmap(const QImage& bitmap);
  void SetBitmapOver(const QImage& bitmap);
  void SetBitmapDown(const QImage& bitmap);
  void SetBitmapUp(const QImage& bitmap);
  const QImage& CurrentBitmap() const { return m_current; }
  // What the last drawing showed.
  const QImage& Shown() const { return m_shown; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void ShowHover() override;
  void ShowNormal() override;
  void ShowPressed() override;
  void ShowClicked() override { repaint(); }
  void ShowReleased(bool over) override;

 private:
  static bool Present(const QImage& bitmap) { return !bitmap.isNull() && bitmap.width() > 0; }
  void SizeTo(const QImage& bitmap);
  void ShowNow(const QImage& bitmap);

  void ShowCurrent(const QImage& bitmap);

  QImage m_bitmap, m_over, m_down, m_up, m_current, m_shown;
  const QImage* m_override = nullptr;  // drawn instead of CurrentBitmap by ShowNow
};
