#pragma once

#include <QTimer>
#include <functional>

// A timer that windows start and stop. Windows take it as an interface so
// tests can fire it themselves instead of waiting for the real interval.
class TIntervalTimer {
 public:
  virtual ~TIntervalTimer() = default;
  virtual void Start(int milliseconds) = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
  std::function<void()> OnTimer;
};

// The real timer, on the user-interface thread's event loop.
class TQtIntervalTimer : public TIntervalTimer {
 public:
  TQtIntervalTimer() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      if (OnTimer) OnTimer();
    });
  }
  void Start(int milliseconds) override { m_timer.start(milliseconds); }
  void Stop() override { m_timer.stop(); }
  bool Active() const override { return m_timer.isActive(); }

 private:
  QTimer m_timer;
};
