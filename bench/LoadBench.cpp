// Catalog loading speed and memory. Each catalog is loaded in a fresh
// process so that its peak memory is the loader's alone.
//
//   bench_load [--dir DIR] [--big]
//
// makes the sample catalogs in DIR (kept for later runs) and prints one line
// per catalog. --big adds a catalog of 5,000 600x900 covers (about 280 MB).

#include "BenchUtil.h"

#include "catalog/TMovieList.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <vector>

namespace {

struct TCase {
  const char* Name;
  int Movies;
  TSamplePictures Pictures;
};

int Measure(const std::string& path) {
  WarmFileCache(path);
  double best = 1e9;
  int movies = 0;
  for (int round = 0; round < 5; ++round) {
    TMovieList list;
    auto start = std::chrono::steady_clock::now();
    list.LoadFromFile(path);
    best = std::min(best, SecondsSince(start));
    movies = list.Count();
  }
  std::printf("%d %.6f %ld\n", movies, best, PeakResidentBytes());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "--measure") return Measure(args[1]);
  std::string dir = DataFolder(argc, argv);
  bool big = std::find(args.begin(), args.end(), "--big") != args.end();
  std::vector<TCase> cases = {{"plain-20000", 20000, TSamplePictures::None},
                              {"covers-2000", 2000, TSamplePictures::Embedded}};
  if (big) cases.push_back({"covers-5000", 5000, TSamplePictures::Embedded});

  std::printf("%-12s %8s %10s %10s %12s %9s %10s\n", "catalog", "movies", "MB", "ms", "movies/s", "MB/s",
              "peak/file");
  for (const TCase& c : cases) {
    std::string path = EnsureSampleCatalog(dir, c.Name, c.Movies, c.Pictures);
    double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    int movies = 0;
    double seconds = 0;
    long peak = 0;
    std::string out = RunSelf(argv[0], "--measure " + path);
    if (std::sscanf(out.c_str(), "%d %lf %ld", &movies, &seconds, &peak) != 3) {
      std::cerr << "measuring " << path << " failed\n";
      return 1;
    }
    std::printf("%-12s %8d %10.1f %10.1f %12.0f %9.0f %10.2f\n", c.Name, movies, megabytes, seconds * 1000,
                movies / seconds, megabytes / seconds, peak / (megabytes * 1e6));
  }
  return 0;
}
