#pragma once

#include "tools/SampleCatalog.h"

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

// The path of a sample catalog in `dir` (made on first use and kept): the
// given number of movies, seed 11, 600 x 900 JPEG covers when it has any.
std::string EnsureSampleCatalog(const std::string& dir, const std::string& name, int movies,
                                TSamplePictures pictures);

// The value of "--dir DIR" among the arguments, or "bench-data".
std::string DataFolder(int argc, char** argv);
