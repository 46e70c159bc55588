#include "graphics/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kximage image;
  if (kxgl::ReadKxt(data, size, &image)) {
    // Whatever was accepted must encode back to the bytes it came from.
    std::vector<uint8_t> again = kxgl::EncodeKxt(image);
    if (again.size() > size) __builtin_trap();
  }
  return 0;
}
