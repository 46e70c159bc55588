#include <cstring>

#include "core/hooks.h"
#include "graphics/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxcore::SetLogHandler([](const char*) {});
  kximage image;
  if (kxgl::ReadKxt(data, size, &image)) {
    // Whatever was accepted must encode back to the bytes it came from;
    // bytes after the texels are not part of the picture.
    std::vector<uint8_t> again = kxgl::EncodeKxt(image);
    if (again.size() > size || std::memcmp(again.data(), data, again.size()) != 0) __builtin_trap();
  }
  return 0;
}
