#include "widgets/TImageButton.h"

#include "widgets/QtBridge.h"

#include <QPainter>

TImageButton::TImageButton(QWidget* parent) : TOwnerDrawnButton(parent) { resize(50, 50); }

void TImageButton::SizeTo(const QImage& bitmap) {
  // Pictures made for a dense screen carry their pixel ratio; the button
  // takes their size in layout pixels.
  if (Present(bitmap)) resize(bitmap.deviceIndependentSize().toSize());
}

void TImageButton::SetBitmap(const QImage& bitmap) {
  m_bitmap = bitmap;
  m_current = bitmap;
  SizeTo(bitmap);
  update();
}

void TImageButton::SetBitmapOver(const QImage& bitmap) {
  m_over = bitmap;
  update();
}

void TImageButton::SetBitmapDown(const QImage& bitmap) {
  m_down = bitmap;
  update();
}

void TImageButton::SetBitmapUp(const QImage& bitmap) {
  m_up = bitmap;
  update();
}

void TImageButton::ShowNow(const QImage& bitmap) {
  m_shown = bitmap;
  m_override = &bitmap;
  repaint();
  m_override = nullptr;
}

void TImageButton::paintEvent(QPaintEvent*) {
  if (m_current.isNull()) m_current = m_bitmap;
  const QImage* image = m_override != nullptr ? m_override : &m_current;
  QPainter canvas(this);
  canvas.fillRect(rect(), ToQColor(clBtnFace));
  if (Present(*image)) canvas.drawImage(QPoint(0, 0), *image);
  if (hasFocus()) DrawFocusMark(canvas, rect(), 0, palette().color(QPalette::Highlight));
  m_shown = *image;
}

void TImageButton::ShowCurrent(const QImage& bitmap) {
  m_current = bitmap;
  SizeTo(m_current);
  repaint();
}

void TImageButton::ShowHover() {
  if (Present(m_over)) ShowCurrent(m_over);
}

void TImageButton::ShowNormal() {
  if (isEnabled() && Present(m_bitmap)) ShowCurrent(m_bitmap);
}

void TImageButton::ShowPressed() {
  if (Present(m_down)) ShowCurrent(m_down);
}

void TImageButton::ShowReleased(bool over) {
  // Without an up picture the hover picture stays: the button is still
  // under the pointer.
  const QImage& up = Present(m_up) ? m_up : m_over;
  if (!Present(up)) return;
  const QImage& shown = over ? up : m_bitmap;
  SizeTo(shown);
  ShowNow(shown);
}
