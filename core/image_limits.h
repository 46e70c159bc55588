// How large a picture the program will take from a file, in one place for
// every reader: the picture readers of the graphics library and the platform,
// which checks the start-up splash before the window system is handed it.
#pragma once

#include <cstdint>

namespace kxcore {

// Largest side any reader accepts, and the most texels of one picture
// (64 MB as RGBA): a larger claim is treated as corrupt before any texel is
// decoded, so a file of a few bytes cannot make the program take gigabytes.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImageTexels = int64_t{4096} * 4096;
// 1 when a picture of that size may be decoded or created.
constexpr bool ImageSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImageTexels;
}
// The most bytes a picture file may hold: the largest picture allowed at
// four bytes a texel, with room for headers and a palette. A longer file
// is refused before it is read, so padding cannot make a picture take a
// gigabyte of memory on its way in.
constexpr long long kMaxImageFileBytes = kMaxImageTexels * 4 + (1 << 20);

}  // namespace kxcore
