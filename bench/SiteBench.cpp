// Writing a static web site of 5,000 movies with 600 x 900 covers, with
// the index as lists and as a grid of covers.
//
//   bench_site [--dir DIR]     (makes its catalog in DIR, default bench-data)

#include "BenchUtil.h"

#include "tools/SiteWriter.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const std::string catalog =
      EnsureSampleCatalog(DataFolder(argc, argv), "viewer-5000", 5000, TSamplePictures::Embedded);
  WarmFileCache(catalog);
  const fs::path program = fs::temp_directory_path() / ("elk-bench-site-program-" + std::to_string(::getpid()));
  fs::create_directories(program);
  for (int run = 0; run < 6; ++run) {
    const bool covers = run >= 3;
    const fs::path out = fs::temp_directory_path() / ("elk-bench-site-" + std::to_string(::getpid()));
    fs::remove_all(out);
    TSiteOptions options;
    options.CatalogPath = catalog;
    options.OutFolder = out.string();
    options.ProgramFolder = program.string();
    options.Covers = covers;
    auto start = std::chrono::steady_clock::now();
    TSiteResult result = WriteSite(options);
    double seconds = SecondsSince(start);
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
      if (entry.is_regular_file()) bytes += entry.file_size();
    }
    std::printf("site of %d movies%s: %.2f s, %d pictures, %.0f MB written\n", result.MoviePages,
                covers ? " (index of covers)" : "", seconds, result.Pictures, bytes / 1e6);
    fs::remove_all(out);
  }
  fs::remove_all(program);
  return 0;
}
