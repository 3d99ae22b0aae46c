#pragma once

#include <string>

// The timing hook: with ELK_TIMING=PATH in the environment the viewer
// appends one line per event to PATH, each with the milliseconds since the
// process started. Without the variable nothing is written.
//
//   window-shown MS
//   navigate MS URL     (the window sends the view to a page)
//   page MS URL         (the view finished loading a page)
//   strip-started MS N  (the strip begins to take the pictures of N movies)
//   strip-visible MS N  (every one of the N tiles in view holds its picture)
//   strip-filled MS N   (the strip holds its N pictures)
//   stall MS DURATION   (the event loop answered nothing for DURATION ms,
//                        until MS)
//   page-process-ended MS URL  (the web engine's process showing URL ended
//                        abnormally)
namespace TimingLog {

bool Enabled();
void Write(const std::string& event, const std::string& detail = std::string());
// Milliseconds since the process started.
long long SinceProcessStart();

}  // namespace TimingLog
