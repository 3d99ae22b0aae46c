#pragma once

#include <QLineEdit>

// A one-line text box that selects all of its text whenever it takes the
// focus, by mouse or by keyboard: typing then replaces a starting text
// such as "Search ...", which itself stays until then.
class TSearchEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void focusInEvent(QFocusEvent* event) override;
};

// Gives `box` the keyboard with all of its text chosen, as a find command
// does, so that typing replaces it.
void FocusForTyping(QLineEdit& box);
