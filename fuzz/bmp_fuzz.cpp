#include "core/hooks.h"
#include "graphics/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxcore::SetLogHandler([](const char*) {});
  kximage image;
  if (kxgl::ReadBmp(data, size, &image)) {
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * image.channels) __builtin_trap();
  }
  return 0;
}
