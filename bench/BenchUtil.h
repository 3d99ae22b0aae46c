#pragma once

#include "tools/SampleCatalog.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

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

std::string ReadText(const std::string& path);
// Every process below `root`, and `root` itself.
std::vector<int> ProcessTree(int root);
// Resident and proportional memory of a process and all below it, in kB.
std::pair<long, long> TreeMemory(int root);

// A program folder of its own for one catalog: the viewer, its schemes and
// a "Config.ini" that opens the catalog in a 1280 x 800 window, plus more
// lines of its [Config] section.
std::string MakeProgramFolder(const std::string& viewer, const std::string& catalog,
                              const std::string& moreLines = std::string());
