#pragma once

#include <QWidget>
#include <functional>

using TMouseButtonEvent = std::function<void(QWidget& sender, Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y)>;

// The events both kinds of button raise. Enter and leave are declared for
// their owners but never raised: the buttons only change their looks then.
struct TButtonEvents {
  TMouseButtonEvent OnMouseDown;
  TMouseButtonEvent OnMouseUp;
  std::function<void(QWidget& sender)> OnMouseEnter;
  std::function<void(QWidget& sender)> OnMouseLeave;
  std::function<void(QWidget& sender)> OnClick;
};

// A button the program draws itself: what its looks have in common. The
// keyboard reaches it with Tab (a click does not take the focus), Space or
// Enter clicks it; a click is a press and release of the left button over
// it, raised before the release itself. The kinds of button show their own
// looks as the pointer comes, goes, presses and lets go.
class TOwnerDrawnButton : public QWidget, public TButtonEvents {
 public:
  explicit TOwnerDrawnButton(QWidget* parent);

  // Raises OnClick as a click would (nothing when it may not be clicked).
  void Click();

 protected:
  virtual bool Clickable() const { return isEnabled(); }
  virtual void ShowHover() = 0;
  virtual void ShowNormal() = 0;
  virtual void ShowPressed() = 0;
  // Just before a click is raised.
  virtual void ShowClicked() = 0;
  // After a release of the left button, over the button or not.
  virtual void ShowReleased(bool over) = 0;

  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool m_pressedInside = false;
};
