// Arbitrary bytes as a BMP: the program's own reader, and the check the
// splash passes before the window system's reader sizes a surface from the
// header, which must keep that surface within the picture size rule.
#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "core/hooks.h"
#include "core/image_limits.h"
#include "fuzz/input_file.h"
#include "graphics/image.h"
#include "platform/splash_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxcore::SetLogHandler([](const char*) {});
  kximage image;
  if (kxgl::ReadBmp(data, size, &image)) {
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * image.channels) __builtin_trap();
  }
  fuzzinput::file splash("splash.bmp", data, size);
  if (!splash.Path()) return 0;
  std::vector<uint8_t> bytes;
  if (!kxsystem::ReadSplashBitmap(splash.Path(), &bytes)) return 0;
  SDL_Surface* picture = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (picture && !kxcore::ImageSizeAllowed(picture->w, picture->h)) std::abort();
  SDL_FreeSurface(picture);
  return 0;
}
