#pragma once

#include <deque>

// How the web view answers its page process ending abnormally (killed by
// the system when memory runs short, or crashed): the page is shown again
// in a new process, unless this is the third end within a minute; then a
// page of the viewer's own says so, with a link that tries again, so a page
// that kills its process every time cannot keep the machine busy.
class TPageProcessRestarts {
 public:
  static constexpr int kEndsBeforeGivingUp = 3;
  static constexpr long long kWindowMilliseconds = 60000;

  enum class TAnswer { ShowAgain, GiveUp };

  // One more end, at `now` (milliseconds of a steady clock).
  TAnswer Ended(long long now);

 private:
  std::deque<long long> m_ends;
};
