// Every input the fuzzers ever stopped at, replayed through the same
// harness: a broken promise ends the test program.

#include "fuzz/Harnesses.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

class FuzzRegressions : public ::testing::TestWithParam<const char*> {};

TEST_P(FuzzRegressions, ReplayWithoutBreakingAPromise) {
  THarness harness = HarnessByName(GetParam());
  ASSERT_NE(harness, nullptr);
  const fs::path folder = fs::path(ELK_SOURCE_DIR) / "fuzz" / "regressions" / GetParam();
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == "README") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().string());
    harness(bytes.data(), bytes.size());
    ++replayed;
  }
  RecordProperty("replayed", replayed);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, ::testing::Values("catalog", "picture", "ini", "request", "search"));
