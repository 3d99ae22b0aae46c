#include "browse/PageProcessRestarts.h"

TPageProcessRestarts::TAnswer TPageProcessRestarts::Ended(long long now) {
  while (!m_ends.empty() && now - m_ends.front() >= kWindowMilliseconds) m_ends.pop_front();
  m_ends.push_back(now);
  // Only the last few ends can decide anything.
  while (static_cast<int>(m_ends.size()) > kEndsBeforeGivingUp) m_ends.pop_front();
  if (static_cast<int>(m_ends.size()) < kEndsBeforeGivingUp) return TAnswer::ShowAgain;
  // The user's "try again" starts a fresh count only once the minute has
  // passed; until then each end shows the page of its own again.
  return TAnswer::GiveUp;
}
