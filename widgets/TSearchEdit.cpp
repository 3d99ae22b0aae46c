#include "widgets/TSearchEdit.h"

#include <QTimer>

void TSearchEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // After the click that gave the focus has placed the cursor.
  QTimer::singleShot(0, this, [this] { selectAll(); });
}

void FocusForTyping(QLineEdit& box) {
  box.setFocus(Qt::ShortcutFocusReason);
  box.selectAll();
}
