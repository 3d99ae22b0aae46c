// libFuzzer entry point of the search harness (see Harnesses.h).

#include "fuzz/Harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzSearch(data, size);
  return 0;
}
