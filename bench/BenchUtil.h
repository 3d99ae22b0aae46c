#pragma once

#include <chrono>
#include <string>

// Small helpers shared by the benchmarks.
double SecondsSince(std::chrono::steady_clock::time_point start);
// Peak resident memory of this process in bytes (VmHWM).
long PeakResidentBytes();
// Reads a file once so that later reads come from the page cache.
void WarmFileCache(const std::string& path);
// Runs this program again with `arguments` and returns what it printed.
std::string RunSelf(const std::string& self, const std::string& arguments);
