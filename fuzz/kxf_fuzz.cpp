#include <cstring>

#include "core/hooks.h"
#include "graphics/font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxcore::SetLogHandler([](const char*) {});
  kxglfont font;
  std::memset(&font, 0, sizeof font);
  if (kxgl::ReadFont(data, size, &font)) {
    kxgl::SetFont(&font);
    const char text[] = {'A', 'b', '\n', static_cast<char>(0xB0), static_cast<char>(0xFF), 0};
    if (kxgl::TextWidth(text) < 0) __builtin_trap();
    kxgl::SetFont(nullptr);
  }
  kxgl::FreeFont(&font);
  return 0;
}
