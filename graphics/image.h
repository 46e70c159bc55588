// Decoded pictures as the texture table receives them: 8-bit channels, rows
// top-down (row 0 is the picture's top), no padding. The readers for BMP,
// JPEG and our own .kxt work on bytes in memory so a corrupt file can only
// fail, never read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/image_limits.h"

struct kximage {
  int width = 0;      // texels
  int height = 0;     // texels
  int channels = 0;   // 1 alpha, 3 RGB, 4 RGBA
  int flags = 0;      // .kxt flags; bit 0: compressed upload wanted
  std::vector<uint8_t> pixels;  // width * height * channels, rows top-down
};

namespace kxgl {

// The size rule every picture reader applies, kept in core so the platform
// checks its splash by the same numbers; named here as the readers know it.
using kxcore::ImageSizeAllowed;
using kxcore::kMaxImageFileBytes;
using kxcore::kMaxImageSide;
using kxcore::kMaxImageTexels;

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
