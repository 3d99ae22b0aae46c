#pragma once

#include <functional>

// Runs the event loop until `done` holds or `milliseconds` have passed;
// returns `done`. For the programs that drive the window (tests,
// benchmarks, the picture taker): unlike short sleeps between checks it
// never holds the web engine's own work back.
bool RunEventsUntil(const std::function<bool()>& done, int milliseconds);
