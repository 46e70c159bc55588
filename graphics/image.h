// Decoded pictures as the texture table receives them: 8-bit channels, rows
// top-down (row 0 is the picture's top), no padding. The readers for BMP,
// JPEG and our own .kxt work on bytes in memory so a corrupt file can only
// fail, never read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct kximage {
  int width = 0;      // texels
  int height = 0;     // texels
  int channels = 0;   // 1 alpha, 3 RGB, 4 RGBA
  int flags = 0;      // .kxt flags; bit 0: compressed upload wanted
  std::vector<uint8_t> pixels;  // width * height * channels, rows top-down
};

namespace kxgl {

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
constexpr int kKxtFlagCompressed = 1;

// Each reader returns 1 and fills out, or 0 after one log line.
int ReadBmp(const uint8_t* data, size_t size, kximage* out);
int ReadJpeg(const uint8_t* data, size_t size, kximage* out);
int ReadKxt(const uint8_t* data, size_t size, kximage* out);
// Picks the reader by the leading bytes ("BM", 0xFF 0xD8, "KXT1").
int ReadImage(const uint8_t* data, size_t size, kximage* out);
int ReadImageFile(const char* path, kximage* out);

// Encoders used by the writers and the asset tools.
std::vector<uint8_t> EncodeKxt(const kximage& image);
// 24-bit for 1 and 3 channels (grey expanded), 32-bit BI_BITFIELDS for 4.
std::vector<uint8_t> EncodeBmp(const kximage& image);
int WriteKxt(const char* path, const kximage& image);
int WriteBmp(const char* path, const kximage& image);

}  // namespace kxgl
