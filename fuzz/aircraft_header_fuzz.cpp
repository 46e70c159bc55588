// Reads arbitrary bytes as the header of an aircraft component file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dynamics/header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxdheader header;
  header.Parse(reinterpret_cast<const char*>(data), size);
  // Single digits, and a type that never overflowed into a negative number.
  if (header.major < 0 || header.major > 9 || header.minor < 0 || header.minor > 9 || header.type < 0) std::abort();
  return 0;
}
