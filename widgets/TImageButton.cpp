#include "widgets/TImageButton.h"

#include "widgets/Accessibility.h"

#include "widgets/QtBridge.h"

#include <QMouseEvent>
#include <QPainter>

TImageButton::TImageButton(QWidget* parent) : QWidget(parent) {
  InstallAccessibility();
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The keyboard reaches it with Tab; a click does not take the focus.
  setFocusPolicy(Qt::TabFocus);
  resize(50, 50);
}

void TImageButton::keyPressEvent(QKeyEvent* event) {
  const TNavigationKey key = NavigationKeyOf(event->key());
  if ((key == TNavigationKey::Space || key == TNavigationKey::Enter) && event->modifiers() == Qt::NoModifier) {
    event->accept();
    if (isEnabled() && OnClick) OnClick(*this);
    return;
  }
  QWidget::keyPressEvent(event);
}

void TImageButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TImageButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

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

void TImageButton::SetBitmapDisabled(const QImage& bitmap) {
  m_disabled = bitmap;
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
  if (m_override == nullptr && !isEnabled() && Present(m_disabled)) {
    SizeTo(m_disabled);
    image = &m_disabled;
  }
  QPainter canvas(this);
  canvas.fillRect(rect(), ToQColor(clBtnFace));
  if (Present(*image)) canvas.drawImage(QPoint(0, 0), *image);
  if (hasFocus()) DrawFocusMark(canvas, rect(), 0, palette().color(QPalette::Highlight));
  m_shown = *image;
}

void TImageButton::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (!isEnabled() || !Present(m_over)) return;
  m_current = m_over;
  SizeTo(m_current);
  repaint();
}

void TImageButton::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (!isEnabled() || !Present(m_bitmap)) return;
  m_current = m_bitmap;
  SizeTo(m_current);
  repaint();
}

void TImageButton::mousePressEvent(QMouseEvent* event) {
  event->accept();
  m_pressedInside = event->button() == Qt::LeftButton;
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  QPoint at = event->position().toPoint();
  if (OnMouseDown) OnMouseDown(*this, event->button(), event->modifiers(), at.x(), at.y());
  if (Present(m_down)) {
    m_current = m_down;
    SizeTo(m_current);
    repaint();
  }
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  QPoint at = event->position().toPoint();
  bool over = rect().contains(at);
  if (event->button() == Qt::LeftButton && m_pressedInside && over) {
    repaint();
    if (isEnabled() && OnClick) OnClick(*this);
  }
  if (event->button() == Qt::LeftButton) m_pressedInside = false;
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  if (OnMouseUp) OnMouseUp(*this, event->button(), event->modifiers(), at.x(), at.y());
  // Without an up picture the hover picture stays: the button is still
  // under the pointer.
  const QImage& up = Present(m_up) ? m_up : m_over;
  if (!Present(up)) return;
  const QImage& shown = over ? up : m_bitmap;
  SizeTo(shown);
  ShowNow(shown);
}
