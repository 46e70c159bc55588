// BMP reader (1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed and
// BI_BITFIELDS) and writer. Written here rather than taken from SDL because
// every header field must be checked against the file before use, and 32-bit
// alpha must come through as the file stores it.
#include <bit>
#include <cstring>

#include "core/hooks.h"
#include "graphics/byte_reader.h"
#include "graphics/file_bytes.h"
#include "graphics/image.h"

namespace kxgl {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kV4HeaderBytes = 108;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitfields = 3;
constexpr uint32_t kCompressionAlphaBitfields = 6;

struct Mask {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;  // largest value after the shift; 0 when the mask is empty
};

Mask MakeMask(uint32_t mask) {
  Mask m;
  m.mask = mask;
  if (!mask) return m;
  m.shift = std::countr_zero(mask);
  uint32_t bits = mask >> m.shift;
  // Holes inside a mask are not a real format; use the contiguous low part.
  int width = std::countr_one(bits);
  m.max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
  return m;
}

uint8_t Extract(uint32_t pixel, const Mask& m, uint8_t empty) {
  if (!m.max) return empty;
  uint64_t v = (pixel >> m.shift) & m.max;
  return static_cast<uint8_t>((v * 255 + m.max / 2) / m.max);
}

int Fail(const char* why) {
  kxcore::Log("gl:  bmp %s\n", why);
  return 0;
}

}  // namespace

int ReadBmp(const uint8_t* data, size_t size, kximage* out) {
  kxbytereader r(data, size);
  if (r.U8() != 'B' || r.U8() != 'M') return Fail("signature missing");
  r.Skip(8);
  uint32_t dataOffset = r.U32();
  uint32_t headerBytes = r.U32();
  if (!r.ok()) return Fail("header truncated");
  int64_t width = 0, height = 0;
  uint32_t planes = 0, bits = 0, compression = kCompressionNone, colorsUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};
  bool core = headerBytes == kCoreHeaderBytes;
  if (core) {
    width = r.U16();
    height = r.I16();
    planes = r.U16();
    bits = r.U16();
  } else {
    if (headerBytes < kInfoHeaderBytes || headerBytes > size) return Fail("header size unknown");
    width = r.I32();
    height = r.I32();
    planes = r.U16();
    bits = r.U16();
    compression = r.U32();
    r.Skip(12);
    colorsUsed = r.U32();
    r.Skip(4);
    if (headerBytes > kInfoHeaderBytes) {
      // V2 and later headers carry the masks themselves.
      uint32_t extra = headerBytes - kInfoHeaderBytes;
      for (int i = 0; i < 4 && extra >= 4; ++i, extra -= 4) masks[i] = r.U32();
      r.Skip(extra);
    } else if (compression == kCompressionBitfields || compression == kCompressionAlphaBitfields) {
      int n = compression == kCompressionAlphaBitfields ? 4 : 3;
      for (int i = 0; i < n; ++i) masks[i] = r.U32();
    }
  }
  if (!r.ok()) return Fail("header truncated");
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1 || !ImageSizeAllowed(width, height)) return Fail("size out of range");
  if (compression != kCompressionNone && compression != kCompressionBitfields &&
      compression != kCompressionAlphaBitfields)
    return Fail("compression not supported");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Fail("bit depth not supported");
  if (compression != kCompressionNone && bits != 16 && bits != 32) return Fail("bitfields need 16 or 32 bits");

  // Palette directly after the header (and any separate masks).
  uint8_t palette[256][3] = {};
  if (bits <= 8) {
    uint32_t count = colorsUsed ? colorsUsed : 1u << bits;
    if (count > (1u << bits)) count = 1u << bits;
    int entryBytes = core ? 3 : 4;
    for (uint32_t i = 0; i < count; ++i) {
      uint8_t e[4];
      r.Bytes(e, static_cast<size_t>(entryBytes));
      palette[i][0] = e[2];
      palette[i][1] = e[1];
      palette[i][2] = e[0];
    }
    if (!r.ok()) return Fail("palette truncated");
  }

  Mask red, green, blue, alpha;
  bool hasAlpha = false;
  if (bits == 16 || bits == 32) {
    if (compression == kCompressionNone) {
      if (bits == 16) {
        red = MakeMask(0x7C00), green = MakeMask(0x03E0), blue = MakeMask(0x001F);
      } else {
        red = MakeMask(0x00FF0000), green = MakeMask(0x0000FF00), blue = MakeMask(0x000000FF);
      }
    } else {
      red = MakeMask(masks[0]), green = MakeMask(masks[1]), blue = MakeMask(masks[2]);
      alpha = MakeMask(masks[3]);
      hasAlpha = alpha.max != 0;
    }
  }

  uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  uint64_t pixelBytes = stride * static_cast<uint64_t>(height);
  if (dataOffset > size || pixelBytes > size - dataOffset) return Fail("pixel data truncated");

  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->channels = hasAlpha ? 4 : 3;
  out->flags = 0;
  out->pixels.assign(static_cast<size_t>(width * height * out->channels), 0);
  for (int64_t row = 0; row < height; ++row) {
    // BMP rows run bottom-up unless the height was negative.
    const uint8_t* src = data + dataOffset + stride * static_cast<uint64_t>(topDown ? row : height - 1 - row);
    uint8_t* dst = out->pixels.data() + row * width * out->channels;
    for (int64_t x = 0; x < width; ++x, dst += out->channels) {
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          uint64_t bit = static_cast<uint64_t>(x) * bits;
          int index = (src[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
          std::memcpy(dst, palette[index], 3);
          break;
        }
        case 24:
          dst[0] = src[x * 3 + 2];
          dst[1] = src[x * 3 + 1];
          dst[2] = src[x * 3 + 0];
          break;
        default: {
          uint32_t p = bits == 16 ? static_cast<uint32_t>(src[x * 2] | src[x * 2 + 1] << 8)
                                  : static_cast<uint32_t>(src[x * 4]) | static_cast<uint32_t>(src[x * 4 + 1]) << 8 |
                                        static_cast<uint32_t>(src[x * 4 + 2]) << 16 |
                                        static_cast<uint32_t>(src[x * 4 + 3]) << 24;
          dst[0] = Extract(p, red, 0);
          dst[1] = Extract(p, green, 0);
          dst[2] = Extract(p, blue, 0);
          if (hasAlpha) dst[3] = Extract(p, alpha, 255);
          break;
        }
      }
    }
  }
  return 1;
}

std::vector<uint8_t> EncodeBmp(const kximage& image) {
  bool withAlpha = image.channels == 4;
  uint32_t headerBytes = withAlpha ? kV4HeaderBytes : kInfoHeaderBytes;
  uint32_t bits = withAlpha ? 32 : 24;
  uint32_t stride = (static_cast<uint32_t>(image.width) * bits + 31) / 32 * 4;
  uint32_t pixelBytes = stride * static_cast<uint32_t>(image.height);
  uint32_t offset = kFileHeaderBytes + headerBytes;
  kxbytewriter w;
  w.U8('B');
  w.U8('M');
  w.U32(offset + pixelBytes);
  w.U32(0);
  w.U32(offset);
  w.U32(headerBytes);
  w.I32(image.width);
  w.I32(image.height);
  w.U16(1);
  w.U16(static_cast<uint16_t>(bits));
  w.U32(withAlpha ? kCompressionBitfields : kCompressionNone);
  w.U32(pixelBytes);
  w.I32(2835);  // 72 dpi
  w.I32(2835);
  w.U32(0);
  w.U32(0);
  if (withAlpha) {
    w.U32(0x00FF0000);
    w.U32(0x0000FF00);
    w.U32(0x000000FF);
    w.U32(0xFF000000);
    w.U32(0x73524742);  // "sRGB"
    for (int i = 0; i < 12; ++i) w.U32(0);  // endpoints and gamma, unused with sRGB
  }
  for (int row = image.height - 1; row >= 0; --row) {
    size_t start = w.bytes.size();
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.pixels.data() + (static_cast<size_t>(row) * image.width + x) * image.channels;
      uint8_t r = p[0], g = image.channels >= 3 ? p[1] : p[0], b = image.channels >= 3 ? p[2] : p[0];
      w.U8(b);
      w.U8(g);
      w.U8(r);
      if (withAlpha) w.U8(p[3]);
    }
    while (w.bytes.size() - start < stride) w.U8(0);
  }
  return w.bytes;
}

int WriteBmp(const char* path, const kximage& image) {
  std::vector<uint8_t> bytes = EncodeBmp(image);
  return WriteFileBytes(path, bytes.data(), bytes.size());
}

}  // namespace kxgl
