#pragma once

#include "widgets/TIntervalTimer.h"

#include <functional>
#include <memory>

// Watches the user-interface thread's event loop with a timer that should
// come every kTickMilliseconds: when the gap between two of its ticks is
// longer than kStallMilliseconds, the loop answered nothing (no click, no
// key, no paint) for that long, and OnStall hears how long it was.
class TStallWatch {
 public:
  static constexpr int kTickMilliseconds = 20;
  static constexpr long long kStallMilliseconds = 100;
  // A steady clock in milliseconds.
  using TClock = std::function<long long()>;

  // Tests pass a timer they fire and a clock they set.
  explicit TStallWatch(std::unique_ptr<TIntervalTimer> timer = std::make_unique<TQtIntervalTimer>(),
                       TClock clock = SteadyMilliseconds);

  void Start();
  void Stop();
  // How many stalls were seen since Start, and the longest (0 for none).
  int Stalls() const { return m_stalls; }
  long long Longest() const { return m_longest; }

  std::function<void(long long milliseconds)> OnStall;

  static long long SteadyMilliseconds();

 private:
  void Tick();

  std::unique_ptr<TIntervalTimer> m_timer;
  TClock m_clock;
  long long m_last = 0;
  int m_stalls = 0;
  long long m_longest = 0;
};
