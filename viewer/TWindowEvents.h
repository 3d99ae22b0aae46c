#pragma once

#include <QObject>
#include <functional>

class QWidget;

// What the main window hears beyond its own events: every key typed into
// any of its controls before that control sees it (the web view included),
// the first time it is on screen (logged for the timing figures), the
// desktop's palette turning light or dark, and a move to a screen of
// another density.
class TWindowEvents : public QObject {
 public:
  explicit TWindowEvents(QWidget& window);
  ~TWindowEvents() override;

  // True when the key was used: the control never sees it.
  std::function<bool(int key, Qt::KeyboardModifiers modifiers)> OnKey;
  std::function<void()> OnPaletteChanged;
  // The window's pixel ratio differs from the one it was last drawn at.
  std::function<void()> OnDensityChanged;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& m_window;
  bool m_shownOnce = false;
};
