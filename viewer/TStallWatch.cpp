#include "viewer/TStallWatch.h"

#include <chrono>

TStallWatch::TStallWatch(std::unique_ptr<TIntervalTimer> timer, TClock clock)
    : m_timer(std::move(timer)), m_clock(std::move(clock)) {
  m_timer->OnTimer = [this] { Tick(); };
}

long long TStallWatch::SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void TStallWatch::Start() {
  m_last = m_clock();
  m_stalls = 0;
  m_longest = 0;
  m_timer->Start(kTickMilliseconds);
}

void TStallWatch::Stop() { m_timer->Stop(); }

void TStallWatch::Tick() {
  const long long now = m_clock();
  const long long gap = now - m_last;
  m_last = now;
  if (gap <= kStallMilliseconds) return;
  ++m_stalls;
  if (gap > m_longest) m_longest = gap;
  if (OnStall) OnStall(gap);
}
