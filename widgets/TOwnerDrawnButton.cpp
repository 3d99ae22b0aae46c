#include "widgets/TOwnerDrawnButton.h"

#include "widgets/Accessibility.h"
#include "widgets/QtBridge.h"

#include <QMouseEvent>

TOwnerDrawnButton::TOwnerDrawnButton(QWidget* parent) : QWidget(parent) {
  InstallAccessibility();
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::TabFocus);
}

void TOwnerDrawnButton::Click() {
  if (Clickable() && OnClick) OnClick(*this);
}

void TOwnerDrawnButton::keyPressEvent(QKeyEvent* event) {
  const TNavigationKey key = NavigationKeyOf(event->key());
  if ((key == TNavigationKey::Space || key == TNavigationKey::Enter) && event->modifiers() == Qt::NoModifier) {
    event->accept();
    Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TOwnerDrawnButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TOwnerDrawnButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void TOwnerDrawnButton::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (Clickable()) ShowHover();
}

void TOwnerDrawnButton::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  ShowNormal();
}

void TOwnerDrawnButton::mousePressEvent(QMouseEvent* event) {
  event->accept();
  m_pressedInside = event->button() == Qt::LeftButton;
  if (event->button() != Qt::LeftButton || !Clickable()) return;
  const QPoint at = event->position().toPoint();
  if (OnMouseDown) OnMouseDown(*this, event->button(), event->modifiers(), at.x(), at.y());
  ShowPressed();
}

void TOwnerDrawnButton::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const QPoint at = event->position().toPoint();
  const bool over = rect().contains(at);
  if (event->button() == Qt::LeftButton && m_pressedInside && over) {
    ShowClicked();
    Click();
  }
  if (event->button() == Qt::LeftButton) m_pressedInside = false;
  if (event->button() != Qt::LeftButton || !Clickable()) return;
  if (OnMouseUp) OnMouseUp(*this, event->button(), event->modifiers(), at.x(), at.y());
  ShowReleased(over);
}
