#include "tests/dialogs/ManualTimer.h"
#include "viewer/TStallWatch.h"

#include <gtest/gtest.h>
#include <vector>

TEST(StallWatch, ReportsOnlyGapsLongerThanAStallAndStopsWhenStopped) {
  auto timer = std::make_unique<TManualTimer>();
  TManualTimer& ticks = *timer;
  long long now = 1000;
  TStallWatch watch(std::move(timer), [&] { return now; });
  std::vector<long long> stalls;
  watch.OnStall = [&](long long milliseconds) { stalls.push_back(milliseconds); };
  watch.Start();
  EXPECT_EQ(ticks.Interval, TStallWatch::kTickMilliseconds);
  for (long long gap : {20, 35, 100, 101, 20, 640, 20}) {
    now += gap;
    ticks.Fire();
  }
  EXPECT_EQ(stalls, (std::vector<long long>{101, 640}));
  EXPECT_EQ(watch.Stalls(), 2);
  EXPECT_EQ(watch.Longest(), 640);
  // A watch started again measures from then, not from its last tick.
  watch.Stop();
  now += 5000;
  ticks.Fire();
  watch.Start();
  now += 20;
  ticks.Fire();
  EXPECT_EQ(watch.Stalls(), 0);
  EXPECT_EQ(stalls.size(), 2u);
}
