// libFuzzer entry point of the catalog harness (see Harnesses.h).

#include "fuzz/Harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzCatalog(data, size);
  return 0;
}
