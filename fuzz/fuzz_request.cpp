// libFuzzer entry point of the request harness (see Harnesses.h).

#include "fuzz/Harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzRequest(data, size);
  return 0;
}
