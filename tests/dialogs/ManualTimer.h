#pragma once

#include "widgets/TIntervalTimer.h"

// A timer the test fires by hand: the 30 seconds pass when the test says so.
class TManualTimer : public TIntervalTimer {
 public:
  void Start(int milliseconds) override {
    m_active = true;
    Interval = milliseconds;
    ++Starts;
  }
  void Stop() override { m_active = false; }
  bool Active() const override { return m_active; }
  void Fire() {
    if (m_active && OnTimer) OnTimer();
  }
  int Interval = 0;
  int Starts = 0;

 private:
  bool m_active = false;
};
